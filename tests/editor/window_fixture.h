#pragma once

#include "app/editor/window/main_form.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_folders.h"

#include <QStringList>

#include <memory>

namespace tunvale::testing {

editor::MainFormServices FakeServices(QStringList ports = {});

// A fresh process state and user folder, settings and prompts for one test.
class WindowTest
{
public:
    WindowTest();
    ~WindowTest();

    // Makes the window and loads it with `file` as the start score (empty: the template).
    editor::MainForm& load(const QString& file = {}, QStringList ports = {});
    // A copy of a sample score in the user folder.
    QString sampleScore(const QString& name = QStringLiteral("liangzhilaohu.vls")) const;

    ScopedUserFolder user;
    ScopedSettingsFolder settings;
    ScopedPrompts prompts;
    std::unique_ptr<editor::MainForm> form;
};

} // namespace tunvale::testing
