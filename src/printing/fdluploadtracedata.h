#pragma once
// "ﾃﾞｰﾀｱｯﾌﾟﾛｰﾄﾞ": a year, a planting and a log box; the upload button does nothing yet.

#include "printing/fdlprinttracerep.h"

class QPlainTextEdit;

namespace hb {

class fdlUploadTraceData : public PlantingCondDialog {
    Q_OBJECT
public:
    fdlUploadTraceData();
    QPlainTextEdit *log() const { return txtLOG; }

private:
    QPlainTextEdit *txtLOG;
};

}  // namespace hb
