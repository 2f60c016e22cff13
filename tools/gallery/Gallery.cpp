#include "tools/gallery/Gallery.h"

#include "tools/gallery/GalleryDialogs.h"
#include "tools/gallery/GalleryMainWindow.h"
#include "tools/gallery/GalleryViews.h"

#include "ui/controls/GainFader.h"
#include "ui/controls/GlassButton.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/PictureButton.h"
#include "ui/controls/ScrollBar.h"
#include "ui/controls/ToggleButton.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/DecisionBox.h"
#include "ui/dialogs/InfoBox.h"
#include "ui/dialogs/ThreeWayBox.h"
#include "ui/dialogs/TimedNote.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>

#include <vector>

namespace Gallery {
namespace {

using namespace deskpanel;

class Writer {
public:
    explicit Writer(const QString& dir) : m_dir(dir) {}
    void save(const QString& name, const QPixmap& pm, bool onSheet = true)
    {
        if (pm.save(m_dir.filePath(name + QStringLiteral(".png"))))
            ++m_count;
        if (onSheet)
            m_sheet.emplace_back(name, pm);
    }
    // All images on one page, each under its name, for a quick look.
    void saveSheet()
    {
        const int width = 1400, gap = 8, caption = 14;
        int x = gap, y = gap, rowHeight = 0;
        std::vector<QPoint> at;
        for (const auto& [name, pm] : m_sheet) {
            const QSize s = pm.deviceIndependentSize().toSize();
            if (x + s.width() > width && x > gap) {
                x = gap;
                y += rowHeight + caption + gap;
                rowHeight = 0;
            }
            at.emplace_back(x, y);
            x += std::max(s.width(), 70) + gap;
            rowHeight = std::max(rowHeight, s.height());
        }
        QPixmap sheet(width, y + rowHeight + caption + gap);
        sheet.fill(QColor(120, 120, 120));
        QPainter p(&sheet);
        QFont f = p.font();
        f.setPixelSize(9);
        p.setFont(f);
        for (std::size_t i = 0; i < m_sheet.size(); ++i) {
            p.setPen(Qt::white);
            p.drawText(at[i], m_sheet[i].first.section(QLatin1Char('_'), 1));
            p.drawPixmap(at[i] + QPoint(0, 3), m_sheet[i].second);
        }
        p.end();
        save(QStringLiteral("contact_sheet"), sheet, false);
    }
    void save(const QString& name, QWidget& w) { save(name, w.grab()); }
    int count() const { return m_count; }

private:
    QDir m_dir;
    int m_count = 0;
    std::vector<std::pair<QString, QPixmap>> m_sheet;
};

void press(QWidget* w, QPoint at)
{
    QMouseEvent e(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(w, &e);
}

void renderBitmaps(Writer& out)
{
    const ImageRegistry& images = ImageRegistry::instance();
    QStringList keys = images.keys();
    keys.sort();
    for (const QString& key : keys) {
        out.save(QStringLiteral("bitmap_%1").arg(key), images.pixmap(key, 1.0));
        out.save(QStringLiteral("bitmap_%1@2x").arg(key), images.pixmap(key, 2.0), false);
    }
}

void renderControls(Writer& out)
{
    QWidget host;
    host.resize(1200, 400);
    host.setAttribute(Qt::WA_DontShowOnScreen);
    host.show();

    GlassButton* ok =
        GlassButton::create(&host, 1050, QStringLiteral("162"), QStringLiteral("&OK"), QRect(0, 0, 54, 20));
    out.save(QStringLiteral("GlassButton_up"), *ok);
    press(ok, QPoint(5, 5));
    out.save(QStringLiteral("GlassButton_down"), *ok);

    struct Gui {
        int id;
        const char *normal, *pressed, *disabled;
        int width;
    };
    const Gui guis[] = {{1004, "174", "175", "175", 69},
                        {1005, "178", "179", "179", 60},
                        {1006, "180", "182", "139", 69},
                        {1007, "184", "185", "140", 48},
                        {1008, "183", "187", "141", 69}};
    for (const Gui& g : guis) {
        PictureButton* b =
            PictureButton::create(&host, g.id, QString::fromLatin1(g.normal), QString::fromLatin1(g.pressed),
                                  QString::fromLatin1(g.disabled), QRect(0, 30, g.width, 23));
        for (int state : {0, 1, 5}) {
            b->setState(state);
            out.save(QStringLiteral("PictureButton_%1_state%2").arg(g.id).arg(state), *b);
        }
    }

    struct Toggle {
        int baseId;
        const char *off, *on, *name;
        QSize size;
    };
    const Toggle toggles[] = {
        {3000, "129", "130", "Pol_under", {35, 24}},  {5000, "238", "241", "Pad_under", {35, 24}},
        {6000, "244", "245", "48v_under", {35, 24}},  {7000, "247", "248", "Mute_under", {36, 24}},
        {4000, "235", "236", "Link_under", {40, 24}}, {3000, "131", "138", "Pol_over", {18, 19}},
        {5000, "144", "145", "Pad_over", {18, 18}},   {6000, "146", "147", "48v_over", {19, 18}},
        {7000, "142", "143", "Mute_over", {22, 18}}};
    for (const Toggle& t : toggles) {
        ToggleButton* b = ToggleButton::create(&host, t.baseId, 0, QString::fromLatin1(t.off),
                                               QString::fromLatin1(t.on), QRect(QPoint(0, 60), t.size));
        for (int state : {0, 1}) {
            b->setState(state);
            out.save(QStringLiteral("ToggleButton_%1_%2").arg(QString::fromLatin1(t.name)).arg(state ? "on" : "off"),
                     *b);
        }
    }

    GainFader* under =
        GainFader::create(&host, QRect(0, 100, 32, 234), 0, QStringLiteral("133"), QStringLiteral("132"));
    GainFader* over =
        GainFader::create(&host, QRect(40, 100, 15, 102), 0, QStringLiteral("134"), QStringLiteral("135"));
    for (int p : {0, 36, 72}) {
        under->setPosition(p);
        over->setPosition(p);
        out.save(QStringLiteral("GainFader_under_%1").arg(p), *under);
        out.save(QStringLiteral("GainFader_over_%1").arg(p), *over);
    }

    ScrollBar* h = ScrollBar::create(0, &host, QRect(100, 100, 700, 18), 1030);
    ScrollBar* v = ScrollBar::create(ScrollBar::Vertical, &host, QRect(100, 130, 17, 300), 1031);
    h->setScrollRange(0, 31244);
    v->setScrollRange(0, 3528);
    for (int percent : {0, 50, 100}) {
        h->setScrollPos(31244 * percent / 100);
        v->setScrollPos(3528 * percent / 100);
        out.save(QStringLiteral("ScrollBar_horizontal_%1").arg(percent), *h);
        out.save(QStringLiteral("ScrollBar_vertical_%1").arg(percent), *v);
    }
}

void renderBoxes(Writer& out)
{
    InfoBox message(QStringLiteral("There are no active Units to check"));
    out.save(QStringLiteral("box_message"), message);
    DecisionBox decision(QStringLiteral("Are you sure?"));
    out.save(QStringLiteral("box_decision"), decision);
    ThreeWayBox threeWay(QStringLiteral("Do you want to save any changes you made?"), {});
    out.save(QStringLiteral("box_threeway"), threeWay);
    AboutBox about(QCoreApplication::applicationVersion());
    out.save(QStringLiteral("box_about"), about);
    auto* note = new TimedNote(QStringLiteral("UNIT ID"), QStringLiteral("A unit reports the unit number 60."), 0);
    out.save(QStringLiteral("box_timednote"), *note);
    delete note;
}

} // namespace

int renderAll(const QString& dir)
{
    if (!QDir().mkpath(dir))
        return -1;
    Writer out(dir);
    renderBitmaps(out);
    renderControls(out);
    renderBoxes(out);
    for (const auto& [name, picture] : renderDialogs())
        out.save(name, picture);
    for (const auto& [name, shot] : renderViews())
        out.save(name, shot, false);
    out.saveSheet();
    return out.count() + renderMainWindow(dir);
}

} // namespace Gallery
