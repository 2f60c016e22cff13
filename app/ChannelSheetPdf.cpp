#include "app/ChannelSheetPdf.h"

#include <QBuffer>
#include <QLocale>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextDocument>

namespace deskpanel {

namespace {

QString escaped(const std::string& text)
{
    return QString::fromStdString(text).toHtmlEscaped();
}

const char* onOff(bool on)
{
    return on ? "on" : "off";
}

} // namespace

QPageSize::PageSizeId ChannelSheetPdf::defaultPaper()
{
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4;
}

QString ChannelSheetPdf::html(const ChannelSheet& sheet, const QString& date)
{
    QString out = QStringLiteral("<html><body style=\"font-family: 'Liberation Sans', Arial, sans-serif;\">");
    out += QStringLiteral("<h1 style=\"font-size: 16pt;\">Channel Sheet</h1>");
    out += QStringLiteral("<table cellpadding=\"2\"><tr><td><b>Project:</b></td><td>%1</td></tr>"
                          "<tr><td><b>Scene:</b></td><td>%2</td></tr><tr><td><b>Date:</b></td><td>%3</td></tr></table>")
               .arg(escaped(sheet.projectName), escaped(sheet.sceneName), date.toHtmlEscaped());
    out += QStringLiteral("<p style=\"font-size: 8pt;\">Rows with 48 V phantom power on are shaded and marked "
                          "&#9679;.</p>");
    int unit = 0;
    for (const ChannelSheetRow& r : sheet.rows) {
        if (r.unit != unit) {
            if (unit != 0)
                out += QStringLiteral("</table>");
            unit = r.unit;
            out += QStringLiteral("<h2 style=\"font-size: 11pt;\">Unit %1 &#8212; %2</h2>")
                       .arg(r.unit)
                       .arg(escaped(r.unitName));
            out += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\" "
                                  "style=\"font-size: 8pt; border-collapse: collapse;\"><thead><tr "
                                  "style=\"background-color: #d8d8d8;\">");
            for (const char* head :
                 {"In", "Ch", "Channel Name", "Notes", "Gain dB", "Pad", "Pol", "48V", "Mute", "Link Group"})
                out += QStringLiteral("<th>%1</th>").arg(QString::fromLatin1(head));
            out += QStringLiteral("</tr></thead>");
        }
        const QString shade = r.phantom48V ? QStringLiteral(" style=\"background-color: #ffd6d6;\"") : QString();
        QString group;
        if (r.linkGroup != 0)
            group = QString::number(r.linkGroup) +
                    (r.linkGroupName.empty() ? QString() : QStringLiteral(" ") + escaped(r.linkGroupName));
        out += QStringLiteral("<tr%1><td>%2</td><td>%3</td><td>%4</td><td>%5</td><td align=\"right\">%6</td>"
                              "<td>%7</td><td>%8</td><td><b>%9</b></td><td>%10</td><td>%11</td></tr>")
                   .arg(shade)
                   .arg(r.input)
                   .arg(r.channel)
                   .arg(escaped(r.channelName), escaped(r.notes))
                   .arg(r.gainDb)
                   .arg(QString::fromLatin1(onOff(r.pad)), QString::fromLatin1(onOff(r.polarity)),
                        r.phantom48V ? QStringLiteral("&#9679; on") : QStringLiteral("off"),
                        QString::fromLatin1(onOff(r.mute)), group);
    }
    if (unit != 0)
        out += QStringLiteral("</table>");
    else
        out += QStringLiteral("<p>No units chosen.</p>");
    out += QStringLiteral("</body></html>");
    return out;
}

QByteArray ChannelSheetPdf::render(const ChannelSheet& sheet, QPageSize::PageSizeId paper, const QString& date)
{
    QTextDocument document;
    document.setHtml(html(sheet, date));
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        // No margins of the writer's own: printing lays the text out with margins of 2 cm
        // and puts the page numbers into the bottom one.
        writer.setPageLayout(
            QPageLayout(QPageSize(paper), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer.setTitle(QStringLiteral("Channel Sheet - %1").arg(QString::fromStdString(sheet.projectName)));
        writer.setCreator(QStringLiteral("DeskPanel"));
        document.print(&writer);
    }
    return bytes;
}

} // namespace deskpanel
