#include "tools/helpdocs/HelpDocument.h"

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFragment>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

namespace {

// The largest picture on the page, in the document's pixels at 96 per inch: the width of
// A4 less its margins, and a third of its height, so a screenshot never pushes a
// chapter onto a page of its own.
constexpr qreal PictureWidth = 600;
constexpr qreal PictureHeight = 320;

QFont bodyFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(10.5);
    return font;
}

} // namespace

HelpDocument::HelpDocument(const QString& markdown, const QDir& pictures)
    : m_pictures(pictures), m_document(std::make_unique<QTextDocument>())
{
    m_document->setDefaultFont(bodyFont());
    m_document->setMarkdown(withPicturesResolved(markdown));
    // Added after the text: setting the text clears the resources.
    for (auto it = m_found.cbegin(); it != m_found.cend(); ++it)
        m_document->addResource(QTextDocument::ImageResource, QUrl(it.key()), it.value());
    fitPicturesTo(PictureWidth, PictureHeight);
    styleTables();
    breakBeforeChapters();
}

QString HelpDocument::withPicturesResolved(const QString& markdown)
{
    static const QRegularExpression picture(QStringLiteral(R"(!\[([^\]]*)\]\(([^)\s]+)\))"));
    QString text;
    qsizetype from = 0;
    for (auto it = picture.globalMatch(markdown); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        text += markdown.mid(from, match.capturedStart() - from);
        from = match.capturedEnd();
        const QString name = match.captured(2);
        const QImage image(m_pictures.filePath(name));
        if (image.isNull() || name.contains(QLatin1Char('/'))) {
            m_missing << name;
            text += QStringLiteral("*(The picture \"%1\" is not part of this edition.)*").arg(match.captured(1));
            continue;
        }
        m_found.insert(name, image);
        text += match.captured(0);
    }
    return text + markdown.mid(from);
}

void HelpDocument::fitPicturesTo(qreal width, qreal height)
{
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QImage image =
                m_document->resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
            if (image.isNull())
                continue;
            const qreal scale = std::min({qreal(1.0), width / image.width(), height / image.height()});
            format.setWidth(image.width() * scale);
            format.setHeight(image.height() * scale);
            QTextCursor cursor(m_document.get());
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}

void HelpDocument::styleTables()
{
    // Markdown tables come with doubled borders and no room in the cells: one thin grey
    // line between cells reads better on paper.
    for (QTextFrame* frame : m_document->rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (table == nullptr)
            continue;
        QTextTableFormat format = table->format();
        format.setBorderCollapse(true);
        format.setBorder(0.5);
        format.setBorderBrush(QColor(150, 150, 150));
        format.setCellSpacing(0);
        format.setCellPadding(4);
        table->setFormat(format);
    }
}

void HelpDocument::breakBeforeChapters()
{
    bool first = true;
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 1)
            continue;
        if (!first) {
            QTextBlockFormat format = block.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(block).setBlockFormat(format);
        }
        first = false;
    }
}

int HelpDocument::writePdf(const QString& path, const QString& title) const
{
    {
        QPdfWriter writer(path);
        // No margins of the writer's own: printing lays the text out with margins of 2 cm
        // and puts the page numbers into the bottom one.
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                         QPageLayout::Millimeter));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("DeskPanel"));
        m_document->print(&writer);
    }
    QFile written(path);
    if (!written.open(QIODevice::ReadOnly))
        return 0;
    return pdfPageCount(written.readAll());
}

bool HelpDocument::writeHtml(const QString& path, const QString& title) const
{
    m_document->setMetaInformation(QTextDocument::DocumentTitle, title);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray html = m_document->toHtml().toUtf8();
    return out.write(html) == html.size() && out.flush();
}

int HelpDocument::pdfPageCount(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral(R"(/Type\s*/Page(?![a-zA-Z]))"));
    int pages = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); it.next())
        ++pages;
    return pages;
}
