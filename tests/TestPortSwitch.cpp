#include <QTest>
class TestPortSwitch : public QObject { Q_OBJECT };
QTEST_MAIN(TestPortSwitch)
#include "TestPortSwitch.moc"
