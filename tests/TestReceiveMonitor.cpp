#include <QTest>
class TestReceiveMonitor : public QObject { Q_OBJECT };
QTEST_MAIN(TestReceiveMonitor)
#include "TestReceiveMonitor.moc"
