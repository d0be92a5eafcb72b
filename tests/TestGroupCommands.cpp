#include <QTest>
class TestGroupCommands : public QObject { Q_OBJECT };
QTEST_MAIN(TestGroupCommands)
#include "TestGroupCommands.moc"
