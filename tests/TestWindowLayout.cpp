#include <QTest>
class TestWindowLayout : public QObject { Q_OBJECT };
QTEST_MAIN(TestWindowLayout)
#include "TestWindowLayout.moc"
