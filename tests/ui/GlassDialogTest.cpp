// The glass look shared by the program's dialogs: standard buttons, keys, header drag,
// and the layout at 120 pixels per inch.
#include "ui/controls/GlassDialog.h"
#include "ui/controls/GlassButton.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace deskpanel;

namespace {

DialogTemplate okCancelLayout()
{
    return DialogTemplate{QStringLiteral("test"),
                          QSize(160, 100),
                          QStringLiteral("MS Sans Serif"),
                          80,
                          {{ControlId::Header, QRect(20, 0, 120, 18)},
                           {ControlId::LeftCorner, QRect(0, 0, 18, 18)},
                           {ControlId::Ok, QRect(40, 80, 36, 12)},
                           {ControlId::Cancel, QRect(84, 80, 36, 12)}}};
}

class OkCancelDialog : public GlassDialog {
public:
    OkCancelDialog() : GlassDialog(okCancelLayout(), QStringLiteral("Test")) { createOkCancel(); }
};

GlassButton* button(QWidget& box, int id)
{
    return box.findChild<GlassButton*>(QStringLiteral("button%1").arg(id));
}

TEST(GlassDialog, StandardButtonsAndKeys)
{
    {
        OkCancelDialog d;
        d.show();
        ASSERT_NE(button(d, 1050), nullptr);
        EXPECT_EQ(button(d, 1050)->text(), QStringLiteral("OK"));
        EXPECT_EQ(button(d, 1049)->text(), QStringLiteral("Cancel"));
        QTest::keyClick(&d, Qt::Key_Enter);
        EXPECT_EQ(d.result(), 1);
    }
    {
        OkCancelDialog d;
        d.show();
        QTest::mouseClick(button(d, 1049), Qt::LeftButton);
        EXPECT_EQ(d.result(), 2);
    }
    {
        OkCancelDialog d;
        d.show();
        d.close(); // closing the window counts as Cancel
        EXPECT_EQ(d.result(), 2);
    }
}

TEST(GlassDialog, DraggedByItsHeaderOnly)
{
    OkCancelDialog d;
    d.move(100, 100);
    d.show();
    const QPoint start = d.pos();
    // Below the header: nothing moves.
    QTest::mousePress(&d, Qt::LeftButton, {}, QPoint(100, 80));
    QTest::mouseMove(&d, QPoint(140, 120));
    QTest::mouseRelease(&d, Qt::LeftButton, {}, QPoint(140, 120));
    EXPECT_EQ(d.pos(), start);
    // On the header strip the dialog follows the pointer.
    QTest::mousePress(&d, Qt::LeftButton, {}, QPoint(100, 10));
    QTest::mouseMove(&d, QPoint(130, 30));
    QTest::mouseRelease(&d, Qt::LeftButton, {}, QPoint(130, 30));
    EXPECT_EQ(d.pos(), start + QPoint(30, 20));
}

TEST(GlassDialog, ControlRectanglesInPixels)
{
    OkCancelDialog d;
    EXPECT_EQ(d.size(), QSize(240, 163));
    EXPECT_EQ(d.controlRect(ControlId::Ok), QRect(60, 130, 54, 20));
    EXPECT_TRUE(d.controlRect(ControlId::Text).isNull());
}

} // namespace
