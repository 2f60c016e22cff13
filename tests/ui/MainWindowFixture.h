#pragma once
#include "app/DeskPanelApp.h"
#include "core/model/Scene.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/TempFolder.h"
#include "ui/main/MainWindow.h"
#include "ui/main/SceneListPanel.h"

#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace deskpanel::test {

// The real main window, offscreen, over an application whose boxes and file dialogs
// answer from prepared lists; its profiles live in a temporary folder.
class MainWindowTest : public ::testing::Test {
protected:
    ~MainWindowTest() override
    {
        window.reset();
        app.stop();
    }

    MainWindowOptions options(DisplayMetrics metrics = {96, 96, QSize(1920, 1080)})
    {
        MainWindowOptions o = MainWindowOptions::inFolder(folder.path());
        o.metrics = metrics;
        o.helpFolder = QString::fromStdString(folder.path());
        o.fileDialogs = &fileDialogs;
        return o;
    }
    MainWindow& build(MainWindowOptions o)
    {
        // One window per application at a time: the old one lets go of it first.
        window.reset();
        window = std::make_unique<MainWindow>(app, std::move(o));
        return *window;
    }
    MainWindow& started(MainWindowOptions o)
    {
        build(std::move(o));
        window->start();
        EXPECT_TRUE(QTest::qWaitFor([this] { return window->hasShown(); }, 5000));
        return *window;
    }
    MainWindow& started() { return started(options()); }

    void storeScenes(std::initializer_list<const char*> names)
    {
        for (const char* name : names) {
            Scene scene;
            scene.name = name;
            scene.settings = app.project().snapshotSettings();
            scene.channelNames = app.project().channelNames();
            app.project().scenes.append(scene);
        }
        window->sceneList().sceneLinesChanged();
    }
    std::vector<std::string> listTexts() const
    {
        std::vector<std::string> texts;
        QListWidget* list = window->sceneList().list();
        for (int i = 0; i < list->count(); ++i)
            texts.push_back(list->item(i)->text().toStdString());
        return texts;
    }

    // Mouse input as the list's viewport receives it, with the buttons held.
    void mouse(QEvent::Type type, int entry, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QWidget* viewport = window->sceneList().list()->viewport();
        const QPointF at = window->sceneList().entryRect(entry).center();
        QMouseEvent event(type, at, viewport->mapToGlobal(at), button, held, {});
        QApplication::sendEvent(viewport, &event);
    }
    void drag(int from, std::initializer_list<int> over)
    {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int entry : over)
            mouse(QEvent::MouseMove, entry, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, over.size() ? *(over.end() - 1) : from, Qt::LeftButton, Qt::NoButton);
    }

    TempFolder folder;
    ScriptedOperator op;
    ScriptedFileDialogs fileDialogs;
    DeskPanelApp app{LinkPorts{0, 0}, op};
    std::unique_ptr<MainWindow> window;
};

} // namespace deskpanel::test
