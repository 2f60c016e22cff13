#pragma once
#include "core/records/ChannelSheet.h"

#include <QByteArray>
#include <QPageSize>
#include <QString>

namespace deskpanel {

// The channel sheet as a printed input list: a title block (project, scene, date), one
// table per unit with the 48 V rows marked, page numbers at the foot. Laid out by Qt's
// text document and written by its PDF writer, as the help documents are.
class ChannelSheetPdf {
public:
    // A4 unless the system's locale measures in inches (Letter).
    static QPageSize::PageSizeId defaultPaper();
    // The PDF file's bytes; `date` is printed as it is given.
    static QByteArray render(const ChannelSheet& sheet, QPageSize::PageSizeId paper, const QString& date);
    // The HTML the document is laid out from (a table per unit).
    static QString html(const ChannelSheet& sheet, const QString& date);
};

} // namespace deskpanel
