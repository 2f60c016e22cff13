#include "ui/dialogs/PreferencesDialog.h"

#include "app/DeskPanelApp.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/dialogs/AppDialogTemplates.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QRadioButton>

namespace deskpanel {

PreferencesDialog::PreferencesDialog(DeskPanelApp& app, std::function<void()> openMetering,
                                     std::function<void()> openAutosave, QWidget* parent)
    : GlassDialog(DialogTemplates::preferences(), QStringLiteral("Preferences"), parent),
      m_app(app),
      m_openMetering(std::move(openMetering)),
      m_openAutosave(std::move(openAutosave))
{
    using namespace DialogControl;
    ProjectPrefs& prefs = m_app.project().prefs;
    auto* prompts = new QGroupBox(QStringLiteral(" Scene Prompts"), this);
    prompts->setGeometry(controlRect(PromptsGroup));
    auto* rates = new QGroupBox(QStringLiteral("Ethernet Update Rate"), this);
    rates->setGeometry(controlRect(RateGroup));
    // A prompt box inverts its setting, whatever the box shows.
    const auto invert = [](std::int32_t& setting) { return [&setting](bool) { setting = setting ? 0 : 1; }; };
    addCheck(PromptNewScene, QStringLiteral("Prompt for &New Scene"), prefs.promptNewScene,
             invert(prefs.promptNewScene));
    addCheck(PromptRecallScene, QStringLiteral("Prompt for &Recall Scene"), prefs.promptRecallScene,
             invert(prefs.promptRecallScene));
    addCheck(PromptSceneDelete, QStringLiteral("Prompt for Scene &Delete"), prefs.promptSceneDelete,
             invert(prefs.promptSceneDelete));
    QCheckBox* reorder = addCheck(PromptSceneReorder, QStringLiteral("Prompt for Scene Re-&ordering"),
                                  prefs.promptSceneReorder, invert(prefs.promptSceneReorder));
    const char* rateTexts[5] = {"Every &50 msec", "Every &100 msec", "Every &200 msec", "Every 500 &msec",
                                "Every 1,000 m&sec"};
    for (int i = 0; i < 5; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(rateTexts[i]), this);
        radio->setObjectName(QStringLiteral("radio%1").arg(Rate50 + i));
        placeCaption(radio, Rate50 + i, controlRect(RateGroup).right() - 1);
        // Not exclusive on their own: a stored rate that is none of the five checks none.
        radio->setAutoExclusive(false);
        radio->setChecked(prefs.ethernetUpdateRate == Rates[i]);
        connect(radio, &QRadioButton::clicked, this, [this, i] { chooseRate(i); });
        m_rates[i] = radio;
    }
    const QString face = ImageRegistry::key(162);
    createButton(MeteringButton, QStringLiteral("&Metering..."), face);
    createButton(AutosaveButton, QStringLiteral("&Autosave..."), face);
    addCheck(MuteLinked, QStringLiteral("Mute linked channels"), prefs.muteLinkedChannels,
             [&prefs](bool on) { prefs.muteLinkedChannels = on ? 1 : 0; });
    addCheck(SimulatePeaks, QStringLiteral("Simulate live peaks"), m_app.simulatedPeaks(),
             [this](bool on) { m_app.setSimulatedPeaks(on); });
    createButton(ControlId::Ok, QStringLiteral("&OK"), face);
    // "Re-&ordering" and "500 &msec" mark the letters of "&OK" and "&Metering...": they stay
    // underlined, and Alt with them is left to the buttons.
    reorder->setShortcut(QKeySequence());
    m_rates[3]->setShortcut(QKeySequence());
}

QCheckBox* PreferencesDialog::addCheck(int id, const QString& text, bool checked, std::function<void(bool)> toggled)
{
    auto* box = new QCheckBox(text, this);
    box->setObjectName(QStringLiteral("check%1").arg(id));
    const QRect group = controlRect(DialogControl::PromptsGroup);
    placeCaption(box, id, controlRect(id).top() < group.bottom() ? group.right() - 1 : width() - 8);
    box->setChecked(checked);
    connect(box, &QCheckBox::toggled, this, std::move(toggled));
    return box;
}

void PreferencesDialog::placeCaption(QAbstractButton* button, int id, int rightLimit)
{
    // Where the substitute font runs wider than the layout's, a caption takes the room up
    // to the edge of the panel it sits in, and is set a little narrower if that is not
    // enough, so that no word is cut off.
    QRect rect = controlRect(id);
    const int room = rightLimit - rect.left() + 1;
    QFont narrower = button->font();
    for (int stretch = 99; button->sizeHint().width() > room && stretch >= MinimumStretch; --stretch) {
        narrower.setStretch(stretch);
        button->setFont(narrower);
    }
    rect.setWidth(std::max(rect.width(), std::min(button->sizeHint().width(), room)));
    button->setGeometry(rect);
}

void PreferencesDialog::chooseRate(int index)
{
    for (int i = 0; i < 5; ++i)
        m_rates[i]->setChecked(i == index);
    m_app.link().setUpdateRate(static_cast<std::uint16_t>(Rates[index]));
    // The hold periods of the meters count readings at this rate.
    m_app.channels().notifyMeterPreferencesChanged();
}

void PreferencesDialog::onCommand(int id)
{
    if (id == DialogControl::MeteringButton && m_openMetering)
        m_openMetering();
    else if (id == DialogControl::AutosaveButton && m_openAutosave)
        m_openAutosave();
    else
        GlassDialog::onCommand(id);
}

void PreferencesDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::ShiftModifier) {
        if (event->text().compare(QLatin1String("o"), Qt::CaseInsensitive) == 0) {
            onCommand(ControlId::Ok);
            return;
        }
    }
    GlassDialog::keyPressEvent(event);
}

} // namespace deskpanel
