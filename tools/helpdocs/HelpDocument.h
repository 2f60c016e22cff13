#pragma once
#include <QDir>
#include <QImage>
#include <QMap>
#include <QString>
#include <QTextDocument>

#include <memory>

// One help document, written in Markdown in the repository and turned into a PDF or an
// HTML page. Pictures are named by file name, as "![Caption](window_main.png)", and taken
// from the folder of screenshots that the gallery renders; a picture that folder lacks
// becomes a short note in the text, so the documents build from any checkout.
class HelpDocument {
public:
    HelpDocument(const QString& markdown, const QDir& pictures);

    // Pictures named in the text that the pictures folder did not hold.
    const QStringList& missingPictures() const { return m_missing; }

    // A4 pages; every top-level heading after the first starts a new page. Returns the
    // number of pages written, 0 on failure.
    int writePdf(const QString& path, const QString& title) const;
    bool writeHtml(const QString& path, const QString& title) const;

    // The pages in a PDF file as Qt writes it (one "/Type /Page" object per page).
    static int pdfPageCount(const QByteArray& pdf);

private:
    QString withPicturesResolved(const QString& markdown);
    void fitPicturesTo(qreal width, qreal height);
    void styleTables();
    void breakBeforeChapters();

    QDir m_pictures;
    QStringList m_missing;
    QMap<QString, QImage> m_found;
    std::unique_ptr<QTextDocument> m_document;
};
