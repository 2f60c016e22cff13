#include "ui/controls/GlassDialog.h"

#include "ui/controls/FontMapper.h"
#include "ui/controls/GlassButton.h"
#include "ui/controls/ImageRegistry.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QWindow>

namespace deskpanel {

namespace {
const QColor dialogGround(231, 231, 231);
const QColor titleInk(16, 16, 16);
const QColor panelPen(0, 64, 128);

int screenDpi(const QWidget* w)
{
    const QScreen* screen = w->screen();
    const int dpi = screen ? int(std::lround(screen->logicalDotsPerInchY())) : 96;
    // Layouts know two settings: 120 pixels per inch, and everything else as 96.
    return dpi == 120 ? 120 : 96;
}
} // namespace

bool GlassDialog::supportsOpacity()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

GlassDialog::GlassDialog(const DialogTemplate& layout, const QString& title, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_layout(layout), m_title(title)
{
    m_units = DialogUnits(screenDpi(this));
    setFont(FontMapper::font(layout.fontFace, layout.fontTenths, 400, m_units.dpi()));
    setFixedSize(m_units.toPixels(layout.size));
    setWindowTitle(title);
    // The layered look: slightly see-through where the window system can show it.
    if (supportsOpacity())
        setWindowOpacity(glassAlpha / 255.0);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, dialogGround);
    setPalette(pal);
    setFocusPolicy(Qt::StrongFocus);
}

QRect GlassDialog::controlRect(int id) const
{
    const QRect dlu = m_layout.control(id);
    return dlu.isNull() ? QRect() : m_units.toPixels(dlu);
}

GlassButton* GlassDialog::createButton(int id, const QString& text, const QString& bitmap)
{
    GlassButton* button = GlassButton::create(this, id, bitmap, text, controlRect(id));
    if (button) {
        button->setFont(font());
        connect(button, &GlassButton::clicked, this, &GlassDialog::onCommand);
        const QKeySequence mnemonic = QKeySequence::mnemonic(text);
        if (!mnemonic.isEmpty()) {
            m_mnemonics.emplace_back(mnemonic, id);
            // The shortcut works wherever the focus is in the active dialog; the key
            // press below covers a dialog that is not the active window.
            auto* shortcut = new QShortcut(mnemonic, this);
            connect(shortcut, &QShortcut::activated, this, [this, id] { onCommand(id); });
        }
    }
    return button;
}

void GlassDialog::createOkCancel()
{
    if (m_layout.has(ControlId::Ok))
        createButton(ControlId::Ok, QStringLiteral("OK"), ImageRegistry::key(162));
    if (m_layout.has(ControlId::Cancel))
        createButton(ControlId::Cancel, QStringLiteral("Cancel"), ImageRegistry::key(162));
}

QLabel* GlassDialog::createText(int id, const QString& text)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("text%1").arg(id));
    label->setGeometry(controlRect(id));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setFont(font());
    if (id == ControlId::Text && !text.isEmpty())
        setAccessibleDescription(text);
    return label;
}

void GlassDialog::setBuddy(int labelId, QWidget* field)
{
    if (auto* label = findChild<QLabel*>(QStringLiteral("text%1").arg(labelId), Qt::FindDirectChildrenOnly))
        label->setBuddy(field);
}

QLabel* GlassDialog::createLabel(int id, const QString& text, Qt::Alignment alignment)
{
    QLabel* label = createText(id, text);
    label->setAlignment(alignment);
    label->setWordWrap(false);
    return label;
}

void GlassDialog::reject()
{
    if (m_layout.has(ControlId::Cancel))
        onCommand(ControlId::Cancel);
    else if (m_layout.has(ControlId::Ok))
        onCommand(ControlId::Ok);
    else
        done(DialogResult::Cancel);
}

void GlassDialog::onCommand(int id)
{
    if (id == ControlId::Ok)
        done(DialogResult::Ok);
    else if (id == ControlId::Cancel)
        done(DialogResult::Cancel);
}

void GlassDialog::onEnter()
{
    if (m_layout.has(ControlId::Ok))
        onCommand(ControlId::Ok);
}

void GlassDialog::paintGlass(QPainter& p, bool whitePanel) const
{
    const QRect client = rect();
    if (whitePanel) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(panelPen, 2));
        p.setBrush(Qt::white);
        const QRect panel = client.adjusted(0, 27, 0, 0).adjusted(5, 5, -5, -5);
        p.drawRoundedRect(panel, 8.5, 8.5);
        p.restore();
    }

    const ImageRegistry& images = ImageRegistry::instance();
    const QRect corner = controlRect(ControlId::LeftCorner);
    const QRect header = controlRect(ControlId::Header);
    const int k = at120() ? 13 : 4;
    const int m = at120() ? 9 : 2;
    const int n = at120() ? 4 : 6;
    if (!corner.isEmpty()) {
        images.draw(p, 213, corner);
        if (!header.isEmpty()) {
            const int rightEdge = header.x() + header.width() + k;
            const QRect rightCorner(rightEdge - corner.width(), corner.top(), corner.width(), corner.height());
            images.draw(p, 220, rightCorner);
            const QRect between(corner.right() + 1, corner.top(), rightCorner.left() - corner.right() - 1,
                                corner.height());
            // The gradient only changes downwards, so stretching it to the corners' height
            // looks like tiling it across, without repeating its top edge below.
            images.draw(p, QStringLiteral("GRAY_GRADIENT"), between, ImageRegistry::DrawMode::Stretch);
        }
        const int frameTop = corner.bottom() + 1 - m;
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(0, frameTop, client.width() - 1, client.height() - frameTop - 1));
    }

    p.setPen(titleInk);
    p.setFont(font());
    const int titleTop = (header.isEmpty() ? 0 : header.top()) + n;
    p.drawText(QRect(0, titleTop, client.width(), fontMetrics().height()), Qt::AlignHCenter | Qt::AlignTop, m_title);
}

void GlassDialog::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), dialogGround);
    paintGlass(p, true);
}

void GlassDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::AltModifier) {
        const QKeySequence pressed(event->key() | Qt::AltModifier);
        for (const auto& [mnemonic, id] : m_mnemonics) {
            if (mnemonic.matches(pressed) == QKeySequence::ExactMatch) {
                event->accept();
                onCommand(id);
                return;
            }
        }
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        onEnter();
        event->accept();
        return;
    case Qt::Key_Escape:
        reject();
        event->accept();
        return;
    default: QDialog::keyPressEvent(event);
    }
}

// The header strip acts as the caption: dragging it moves the dialog.
void GlassDialog::mousePressEvent(QMouseEvent* event)
{
    const QRect header = controlRect(ControlId::Header);
    if (event->button() == Qt::LeftButton && header.contains(event->position().toPoint())) {
        if (windowHandle() && windowHandle()->startSystemMove()) {
            event->accept();
            return;
        }
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void GlassDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void GlassDialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        event->accept();
        return;
    }
    QDialog::mouseReleaseEvent(event);
}

} // namespace deskpanel
