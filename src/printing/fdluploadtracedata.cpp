#include "printing/fdluploadtracedata.h"

#include <QPlainTextEdit>

namespace hb {

fdlUploadTraceData::fdlUploadTraceData()
    : PlantingCondDialog(QStringLiteral("fdlUploadTraceData"), QStringLiteral("ﾃﾞｰﾀｱｯﾌﾟﾛｰﾄﾞ"),
                         QStringLiteral("ｱｯﾌﾟﾛｰﾄﾞ"), QStringLiteral("作物"))
{
    txtLOG = new QPlainTextEdit(this);
    txtLOG->setObjectName(QStringLiteral("txtLOG"));
    txtLOG->setGeometry(40, 192, 560, 176);
    // The upload button has no transfer behind it: a click leaves the dialog as it is.
}

}  // namespace hb
