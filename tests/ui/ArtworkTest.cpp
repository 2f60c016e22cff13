// The image registry and the artwork in it, the font mapping and dialog units.
#include "ui/controls/DialogUnits.h"
#include "ui/controls/FontMapper.h"
#include "ui/controls/ImageRegistry.h"

#include "tests/ui/UiTestSupport.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>

#include <gtest/gtest.h>

using namespace deskpanel;

namespace {

struct Named {
    const char* key;
    int width;
    int height;
};

// Every picture the windows ask for, at the size their layouts count on.
const Named namedPictures[] = {
    {"129", 35, 24},
    {"130", 35, 24},
    {"238", 35, 24},
    {"241", 35, 24},
    {"244", 35, 24},
    {"245", 35, 24},
    {"247", 36, 24},
    {"248", 36, 24},
    {"235", 40, 24},
    {"236", 40, 24},
    {"131", 18, 19},
    {"138", 18, 19},
    {"144", 18, 18},
    {"145", 18, 18},
    {"146", 19, 18},
    {"147", 19, 18},
    {"142", 22, 18},
    {"143", 22, 18},
    {"132", 31, 54},
    {"133", 31, 200},
    {"134", 16, 200},
    {"135", 14, 30},
    {"198", 211, 26},
    {"200", 161, 26},
    {"199", 213, 26},
    {"290", 15, 476},
    {"251", 75, 32},
    {"211", 10, 96},
    {"148", 26, 21},
    {"212", 71, 31},
    {"254", 5, 443},
    {"171", 283, 36},
    {"170", 210, 36},
    {"172", 283, 36},
    {"260", 15, 476},
    {"249", 32, 23},
    {"257", 76, 27},
    {"253", 71, 31},
    {"256", 21, 201},
    {"252", 76, 27},
    {"226", 18, 11},
    {"149", 20, 185},
    {"150", 20, 184},
    {"151", 20, 185},
    {"152", 20, 185},
    {"153", 20, 184},
    {"154", 19, 183},
    {"155", 19, 184},
    {"156", 19, 183},
    {"166", 153, 20},
    {"177", 96, 20},
    {"168", 20, 20},
    {"181", 20, 20},
    {"167", 19, 86},
    {"223", 19, 41},
    {"186", 20, 88},
    {"169", 20, 20},
    {"188", 20, 20},
    {"162", 75, 21},
    {"230", 75, 21},
    {"174", 68, 25},
    {"175", 71, 28},
    {"178", 60, 25},
    {"179", 60, 25},
    {"180", 68, 25},
    {"182", 68, 25},
    {"139", 68, 25},
    {"184", 48, 25},
    {"185", 48, 25},
    {"140", 48, 25},
    {"183", 68, 25},
    {"187", 68, 25},
    {"141", 68, 25},
    {"INACTIVE_UNIT_BOXED", 110, 27},
    {"ACTIVE_UNIT_BOXED", 110, 27},
    {"OFFLINE_UNIT_BOXED", 110, 27},
    {"CONFLICTED_UNIT_BOXED", 110, 27},
    {"FAULT_UNIT_BOXED", 110, 27},
    {"RED_LED_ON_16", 20, 20},
    {"RED_LED_OFF_16", 20, 20},
    {"GRAY_GRADIENT", 282, 28},
    {"BACKGROUND", 36, 35},
    {"191", 988, 160},
    {"165", 491, 314},
    {"213", 23, 28},
    {"220", 23, 28},
    {"128", 32, 32},
};

QColor at(const QString& key, int x, int y, qreal dpr = 1.0)
{
    const QPixmap pm = ImageRegistry::instance().pixmap(key, dpr);
    return pm.toImage().pixelColor(int(x * dpr), int(y * dpr));
}

TEST(ImageRegistry, HoldsEveryPictureAtItsSize)
{
    const ImageRegistry& images = ImageRegistry::instance();
    for (const Named& n : namedPictures) {
        const QString key = QString::fromLatin1(n.key);
        EXPECT_EQ(images.size(key), QSize(n.width, n.height)) << n.key;
        const QPixmap pm = images.pixmap(key);
        ASSERT_FALSE(pm.isNull()) << n.key;
        EXPECT_EQ(pm.size(), QSize(n.width, n.height)) << n.key;
    }
}

TEST(ImageRegistry, RendersForTheDevicePixelRatio)
{
    const QPixmap pm = ImageRegistry::instance().pixmap(QStringLiteral("162"), 2.0);
    EXPECT_EQ(pm.size(), QSize(150, 42));
    EXPECT_EQ(pm.devicePixelRatio(), 2.0);
    EXPECT_EQ(pm.deviceIndependentSize().toSize(), QSize(75, 21));
    // Painted at the ratio, not scaled up: the one-pixel rim of the face stays one device
    // pixel thick, so the second device row already shows the face.
    const QImage img = pm.toImage();
    EXPECT_NE(img.pixelColor(75, 0), img.pixelColor(75, 3));
}

TEST(ImageRegistry, MissingPictureLeavesItsPartUnpainted)
{
    QImage canvas(40, 40, QImage::Format_ARGB32);
    canvas.fill(Qt::green);
    {
        QPainter p(&canvas);
        EXPECT_FALSE(ImageRegistry::instance().draw(p, QStringLiteral("NO_SUCH_BITMAP"), QRect(0, 0, 40, 40)));
        EXPECT_FALSE(ImageRegistry::instance().draw(p, 9999, QRect(0, 0, 40, 40)));
    }
    EXPECT_EQ(canvas.pixelColor(20, 20), QColor(Qt::green));
    EXPECT_TRUE(ImageRegistry::instance().pixmap(QStringLiteral("NO_SUCH_BITMAP")).isNull());
}

TEST(ImageRegistry, DrawModes)
{
    ImageRegistry local;
    local.add(QStringLiteral("CHECK"), {2, 2}, [](QPainter& p, const QSize&) {
        p.fillRect(QRect(0, 0, 1, 1), Qt::red);
        p.fillRect(QRect(1, 0, 1, 1), Qt::blue);
        p.fillRect(QRect(0, 1, 2, 1), Qt::white);
    });
    QImage canvas(8, 8, QImage::Format_ARGB32);
    canvas.fill(Qt::black);
    {
        QPainter p(&canvas);
        local.draw(p, QStringLiteral("CHECK"), QRect(0, 0, 8, 4), ImageRegistry::DrawMode::Tile);
        local.draw(p, QStringLiteral("CHECK"), QRect(0, 4, 8, 4), ImageRegistry::DrawMode::Stretch);
    }
    EXPECT_EQ(canvas.pixelColor(4, 0), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(5, 2), QColor(Qt::blue));
    EXPECT_EQ(canvas.pixelColor(1, 4), QColor(Qt::red)); // stretched: left half red
    EXPECT_EQ(canvas.pixelColor(6, 5), QColor(Qt::blue)); // right half blue
    EXPECT_EQ(canvas.pixelColor(3, 7), QColor(Qt::white)); // lower half white
}

TEST(Artwork, SwitchFacesShowDarkAndLitLeds)
{
    // Underview keys carry the LED at (9, 12), overview keys at the top centre.
    const QColor muteOff = at(QStringLiteral("247"), 9, 12);
    const QColor muteOn = at(QStringLiteral("248"), 9, 12);
    EXPECT_TRUE(uitest::isDark(muteOff));
    EXPECT_TRUE(uitest::isReddish(muteOn));
    const QColor polOn = at(QStringLiteral("130"), 9, 12);
    EXPECT_GT(polOn.green(), 150);
    EXPECT_LT(polOn.red(), 150);
    const QColor phantomOn = at(QStringLiteral("147"), 9, 5);
    EXPECT_GT(phantomOn.red(), 180);
    EXPECT_GT(phantomOn.green(), 100);
    EXPECT_TRUE(uitest::isDark(at(QStringLiteral("146"), 9, 5)));
    // Crisp at ratio 2 as well.
    EXPECT_TRUE(uitest::isReddish(at(QStringLiteral("248"), 9, 12, 2.0)));
}

TEST(Artwork, SceneButtonFacesBurnRedWhenPressed)
{
    const char* normal[] = {"174", "178", "180", "184", "183", "139", "140", "141"};
    const char* pressed[] = {"175", "179", "182", "185", "187"};
    for (const char* key : normal)
        EXPECT_FALSE(uitest::isReddish(at(QString::fromLatin1(key), 9, 12))) << key;
    for (const char* key : pressed)
        EXPECT_TRUE(uitest::isReddish(at(QString::fromLatin1(key), 9, 12))) << key;
    // The ground around the face is the button ground.
    EXPECT_EQ(at(QStringLiteral("174"), 0, 0), QColor(48, 59, 83));
}

TEST(Artwork, ViewsAndDialogPartsMatchTheirGrounds)
{
    // Fields sit on the view ground, the about picture's lower band carries the version.
    EXPECT_EQ(at(QStringLiteral("253"), 0, 0), QColor(80, 96, 128));
    EXPECT_EQ(at(QStringLiteral("165"), 400, 300), QColor(134, 158, 194));
    // The corner of a dialog header is rounded off: see-through at its outer corner.
    EXPECT_EQ(at(QStringLiteral("213"), 0, 0).alpha(), 0);
    EXPECT_EQ(at(QStringLiteral("220"), 22, 0).alpha(), 0);
    EXPECT_EQ(at(QStringLiteral("213"), 12, 14).alpha(), 255);
    // Meter wells are black.
    EXPECT_EQ(at(QStringLiteral("256"), 10, 95), QColor(Qt::black));
}

TEST(FontMapper, SizesFollowTheCharacterHeightRule)
{
    EXPECT_EQ(FontMapper::pixelHeight(80, 96), 11); // 10.67
    EXPECT_EQ(FontMapper::pixelHeight(66, 96), 9); // 8.8
    EXPECT_EQ(FontMapper::pixelHeight(136, 96), 18); // 18.13
    EXPECT_EQ(FontMapper::pixelHeight(72, 120), 12);
    EXPECT_EQ(FontMapper::pixelHeight(0, 96), 1);
    EXPECT_EQ(FontMapper::pixelHeight(80, 0), 1);
    EXPECT_EQ(FontMapper::font(QStringLiteral("Arial"), 100, 400).pixelSize(), 13);
}

TEST(FontMapper, MissingFacesMapToInstalledOnes)
{
    for (const char* face : {"Arial", "Microsoft Sans Serif", "MS Sans Serif", "Arial Black"}) {
        const QString family = FontMapper::family(QString::fromLatin1(face));
        EXPECT_TRUE(QFontDatabase::hasFamily(family)) << face << " -> " << family.toStdString();
    }
    if (!QFontDatabase::hasFamily(QStringLiteral("Arial Black"))) {
        const QFont heavy = FontMapper::font(QStringLiteral("Arial Black"), 100, 400);
        EXPECT_GE(heavy.weight(), 900);
        EXPECT_GE(QFontInfo(heavy).weight(), 800) << "a heavy face is installed";
    }
}

TEST(DialogUnits, ConvertsOnceForEveryLayout)
{
    const DialogUnits at96;
    EXPECT_EQ(at96.x(4), 6);
    EXPECT_EQ(at96.y(8), 13);
    EXPECT_EQ(at96.toPixels(QSize(192, 94)), QSize(288, 153));
    // Neighbours stay neighbours.
    const QRect a = at96.toPixels(QRect(37, 69, 36, 16));
    const QRect b = at96.toPixels(QRect(73, 69, 36, 16));
    EXPECT_EQ(a.right() + 1, b.left());
    const DialogUnits at120(120);
    EXPECT_EQ(at120.x(4), 8); // 7.5 rounds up
    EXPECT_EQ(at120.y(8), 16);
    EXPECT_EQ(DialogUnits(0).dpi(), 96);
}

} // namespace
