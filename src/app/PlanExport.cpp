#include "PlanExport.h"

#include "batch/BatchFile.h"
#include "batch/PlanText.h"
#include "serial/MessagePresenter.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace pwm20 {

std::int64_t shownPlanNs(const std::vector<BatchStep> &steps)
{
    return playsUntilStopped(steps) ? endlessPlanNs : longestPlanNs;
}

bool exportPlanCsv(QWidget *parent, const BatchPlan &plan, const QString &folder,
                   MessagePresenter &messages)
{
    QString path = QFileDialog::getSaveFileName(
        parent, QCoreApplication::translate("PlanWindow", "导出 CSV"), folder,
        QCoreApplication::translate("PlanWindow", "CSV 文件 (*.csv);;所有文件 (*)"));
    if (path.isEmpty())
        return false;
    // A name typed without a suffix gets the one the dialog offers, as the batch files do.
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    QString error;
    if (!writeBatchFile(path, planCsv(plan).toUtf8(), error)) {
        messages.showWarning(error);
        return false;
    }
    return true;
}

} // namespace pwm20
