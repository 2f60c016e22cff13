#pragma once
#include <QString>

namespace deskpanel {

// Opens the help documents that lie beside the program's executable with the desktop's
// handler for their type. A missing document, or no handler, is not reported: the
// request simply shows nothing.
class HelpOpener {
public:
    static constexpr const char* QuickStart = "Tessaly Quickstart.pdf";
    static constexpr const char* UserGuide = "Tessaly User Guide.pdf";
    static constexpr const char* LinkHelp = "Tessaly Link Help.pdf";
    // The quick-reference help is kept as HTML pages in this folder beside the program.
    static constexpr const char* QuickReferenceFolder = "QUICKREFERENCE";
    static constexpr const char* LinkedChannelNamesTopic = "LINKED_CHANNEL_NAMES.HTM";

    // `folder` empty: the folder of the running executable.
    explicit HelpOpener(QString folder = {});
    virtual ~HelpOpener() = default;

    // Opens `document` (one of the names above) from the help folder; false when it is
    // missing or nothing could open it.
    bool openDocument(const QString& document);
    // Opens a topic page of the quick-reference help.
    bool openTopic(const QString& topic);

    QString folder() const { return m_folder; }

protected:
    // Hands a local file to the desktop; tests record instead.
    virtual bool openLocalFile(const QString& path);

private:
    bool openIfPresent(const QString& path);

    QString m_folder;
};

} // namespace deskpanel
