#include "tests/tools/command_registry.h"
#include "tests/tools/drum_window.h"

#include "app/dialogs/about_box.h"
#include "app/dialogs/splash_window.h"
#include "app/drums/accompaniment_dialog.h"
#include "app/drums/accompaniment_styles.h"
#include "app/drums/drum_editor.h"
#include "app/drums/rap_dialog.h"
#include "app/drums/template_list.h"
#include "app/editor/window/start_up.h"
#include "app/playback/play_note.h"
#include "platform/desktop/notation_fonts.h"

#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QTest>

using namespace tunvale;

namespace {

// The drum editor alone: the main window it would lock is not there.
class NoMainWindow final : public drums::DrumEditorWindow
{
public:
    void setEditingEnabled(bool) override { }
    void sendToBar(int, const notation::DrumRecord&) override { }
    void listPatterns() override { }
    int editedBar() const override { return 0; }
    void showHint(const QString&) override { }
    QString speedText() const override { return QStringLiteral("120"); }
    bool audition(playback::PlayMode, int) override { return false; }
};

// The editor wide on the first template, which is selected in the library.
std::unique_ptr<QWidget> DrumEditorShot(NoMainWindow& host, playback::PlayNote& player)
{
    editor::SetStartValues();
    notation::DrumStores& stores = notation::ProcessDrumStores();
    if (!stores.DrumTemplates.empty())
        stores.DrumEdit = stores.DrumTemplates[0];
    auto editor = std::make_unique<drums::DrumEditor>(host, stores, player, nullptr);
    editor->ShowOneDrum(false);
    if (editor->isNarrow())
        QTest::mouseClick(editor->Label2, Qt::LeftButton);
    editor->myDrumList->setCurrentRow(0);
    return editor;
}

// Pictures of the small windows, which come and go too fast to be caught on the screen.
int windowShot(const QStringList& args)
{
    const QStringList kinds { QStringLiteral("splash"), QStringLiteral("about"), QStringLiteral("drumeditor"),
        QStringLiteral("rap"), QStringLiteral("setpz") };
    if (args.size() != 2 || !kinds.contains(args[0])) {
        scoretool::err(
            QStringLiteral("usage: scoretool window-shot splash|about|drumeditor|rap|setpz OUT.png"));
        return 2;
    }
    platform::loadNotationFonts();
    NoMainWindow host;
    // The sounds the windows play go nowhere.
    playback::PlayNote player(scoretool::DrumNoteDevices(false));
    notation::ScoreHeader header;
    const drums::AccompanimentStyles styles = drums::AccompanimentStyles::load();
    std::unique_ptr<QWidget> window;
    if (args[0] == QStringLiteral("splash")) {
        auto splash = std::make_unique<dialogs::SplashWindow>();
        splash->setProgress(QStringLiteral("打开主程序窗口..."));
        window = std::move(splash);
    } else if (args[0] == QStringLiteral("about")) {
        window = std::make_unique<dialogs::AboutBox>();
    } else if (args[0] == QStringLiteral("drumeditor")) {
        window = DrumEditorShot(host, player);
    } else if (args[0] == QStringLiteral("rap")) {
        window = std::make_unique<drums::RapDialog>(player, header);
    } else {
        auto dialog = std::make_unique<drums::AccompanimentDialog>(styles);
        dialog->myDrumList->setCurrentRow(1);
        dialog->showStyle(1);
        window = std::move(dialog);
    }
    if (args[0] != QStringLiteral("drumeditor"))
        window->adjustSize();
    if (!window->grab().save(args[1])) {
        scoretool::err(QStringLiteral("could not write %1").arg(args[1]));
        return 1;
    }
    return 0;
}

} // namespace

SCORETOOL_COMMAND("window-shot",
    "splash|about|drumeditor|rap|setpz OUT.png  a picture of the splash window, the about box, the drum "
    "editor or the percussion sound or accompaniment style dialog",
    windowShot);
