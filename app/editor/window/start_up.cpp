#include "app/editor/window/start_up.h"

#include "app/dialogs/splash_window.h"
#include "app/editor/window/window_geometry.h"
#include "app/frame/open_decision.h"
#include "app/frame/process_state.h"
#include "app/frame/start_args.h"
#include "app/notation/drum_data.h"
#include "app/notation/score_template.h"
#include "platform/desktop/dpi.h"
#include "platform/desktop/prompts.h"
#include "platform/settings/ini_file.h"
#include "platform/settings/program_folder.h"
#include "platform/text/runtime_numbers.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <optional>

namespace tunvale::editor {

namespace {

const QString kNoteIni = QStringLiteral("MyNote.ini");
constexpr int kOpenFileOffsetTwips = 255;
// The states in which the window manager, not the stored frame, gives the window its size.
constexpr Qt::WindowStates kNotNormal = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

// Wayland does not let a program place its windows.
bool platformPlacesWindows() { return QGuiApplication::platformName() != QStringLiteral("wayland"); }

// The prompts while the splash of an ordinary start is up. The splash stays on top of every window, so
// a message of the start (a score that is missing or damaged) would be mapped under it, to be neither
// seen nor answered: the first message, question or input box closes the splash for good, and the start
// goes on without it. The prompts themselves are those of the service this one stands in front of.
class SplashPrompts final : public platform::Prompts
{
public:
    SplashPrompts()
        : splash_(std::make_unique<dialogs::SplashWindow>())
    {
    }

    platform::PromptAnswer ask(const platform::PromptRequest& request) override
    {
        closeSplash();
        return inner_->ask(request);
    }
    std::optional<QString> input(
        const QString& prompt, const QString& title, const QString& defaultText) override
    {
        closeSplash();
        return inner_->input(prompt, title, defaultText);
    }
    void beep() override { inner_->beep(); }

    dialogs::SplashWindow* splash() const { return splash_.get(); }
    // No other thread prompts during the start; were one to, the splash stays until the window is up.
    void closeSplash()
    {
        if (QThread::currentThread() == QCoreApplication::instance()->thread())
            splash_.reset();
    }
    void standInFrontOf(std::unique_ptr<platform::Prompts> inner) { inner_ = std::move(inner); }
    std::unique_ptr<platform::Prompts> stepAside() { return std::move(inner_); }

private:
    std::unique_ptr<dialogs::SplashWindow> splash_;
    std::unique_ptr<platform::Prompts> inner_;
};

// Shows the splash and puts SplashPrompts in front of the prompts until its end, when the splash goes
// and the prompts are those of before.
class StartSplash
{
public:
    StartSplash()
    {
        auto prompts = std::make_unique<SplashPrompts>();
        prompts_ = prompts.get();
        prompts_->splash()->show();
        prompts_->splash()->setProgress(QString());
        prompts_->standInFrontOf(platform::Prompts::install(std::move(prompts)));
    }
    // Ends the splash's prompts, and with them the splash, unless another service replaced them since.
    ~StartSplash()
    {
        if (&platform::Prompts::current() == prompts_)
            platform::Prompts::install(prompts_->stepAside());
    }
    StartSplash(const StartSplash&) = delete;
    StartSplash& operator=(const StartSplash&) = delete;

    void setProgress(const QString& text) const
    {
        if (dialogs::SplashWindow* splash = prompts_->splash())
            splash->setProgress(text);
    }

private:
    SplashPrompts* prompts_ = nullptr;
};

// The widths of the frame that the window manager put around `window`: none before it has framed the
// shown window, and none where there is no window manager.
QMargins frameMargins(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    return { inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
        frame.bottom() - inner.bottom() };
}

// Gives `window` the stored frame, on the screen it lands on and within the room that screen has,
// however the value was come by, with the frame's widths as they are known now.
void applyStoredFrame(QWidget& window, const QRect& stored)
{
    const QMargins margins = frameMargins(window);
    const QScreen* screen = QGuiApplication::screenAt(stored.center());
    if (!screen)
        screen = window.screen();
    const FramePlacement placement = PlaceInFrame(
        FitFrame(stored, screen->availableGeometry(), window.minimumSize().grownBy(margins)), margins);
    if (platformPlacesWindows())
        window.move(placement.position);
    window.resize(placement.clientSize);
}

// A window manager frames a window when it first shows, so a window placed before has taken the stored
// frame's size as the size inside its frame. When it is first exposed its frame is known, and the
// stored frame is applied again with it, once.
class FrameWatcher final : public QObject
{
public:
    FrameWatcher(QWidget& window, const QRect& stored)
        : QObject(&window)
        , window_(window)
        , stored_(stored)
    {
        if (QWindow* handle = window.windowHandle())
            handle->installEventFilter(this);
        else
            deleteLater();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* handle = qobject_cast<QWindow*>(watched);
        if (event->type() != QEvent::Expose || !handle || !handle->isExposed())
            return false;
        watched->removeEventFilter(this);
        deleteLater();
        if (!frameMargins(window_).isNull() && !(window_.windowState() & kNotNormal))
            applyStoredFrame(window_, stored_);
        return false;
    }

private:
    QWidget& window_;
    QRect stored_;
};

} // namespace

void SetStartValues()
{
    notation::ReadDrumData(notation::ProcessDrumStores().DrumTemplates,
        platform::ProgramFolder::find(notation::DrumTemplateFileName));
    frame::StartValues& start = frame::Process().start;
    const double twipsPerPixel = 1440.0 / platform::GetDpi();
    start.PageWidthTwips = static_cast<std::int32_t>(platform::RoundHalfEven(210 / 25.4 * 1440));
    start.PageHeightTwips = static_cast<std::int32_t>(platform::RoundHalfEven(297 / 25.4 * 1440));
    start.ScrollBarTwips = static_cast<std::int32_t>(platform::RoundHalfEven(
        QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent) * twipsPerPixel));
    start.NotationFontSize = 32;
    start.TextFontSize = 12;
    frame::Process().ScoreHeader.ScoreSaved = true;
    start.PrintStart = false;
}

bool RestoreWindow(QWidget& window)
{
    const bool wasVisible = window.isVisible();
    window.showNormal();
    if (!wasVisible)
        return false;
    if (platformPlacesWindows())
        window.move(0, 0);
    window.raise();
    window.activateWindow();
    return true;
}

void PlaceWindow(QWidget& window, int offsetTwips)
{
    const QString value = platform::ReadIniValue(
        QStringLiteral("WinPos"), QStringLiteral("WindowPos"), platform::ProgramFolder::find(kNoteIni));
    if (value.right(9) == QStringLiteral("Maximized")) {
        window.showMaximized();
        return;
    }
    const std::optional<QRect> stored = StoredWindowFrame(value, offsetTwips, 1440.0 / platform::GetDpi());
    if (!stored) {
        // Moved before it shows, the window's frame lands at the corner at once.
        if (!window.isVisible() && platformPlacesWindows())
            window.move(0, 0);
        RestoreWindow(window);
        return;
    }
    window.setWindowState(window.windowState() & ~kNotNormal);
    applyStoredFrame(window, *stored);
    window.show();
    window.raise();
    window.activateWindow();
    // Where the frame is known on showing, the stored frame is applied with it at once.
    if (frameMargins(window).isNull())
        new FrameWatcher(window, *stored);
    else
        applyStoredFrame(window, *stored);
}

QString ProcessIdText() { return QString::number(QCoreApplication::applicationPid()); }

void RegisterOpenScore()
{
    frame::OpenScoreRegistry().Claim(
        frame::Process().ScoreHeader.CurrentFile, QCoreApplication::applicationPid());
}

StartResult StartProgram(const QStringList& args, MainFormServices services)
{
    SetStartValues();
    const frame::StartArgs parsed = frame::ParseStartArgs(args);
    frame::ProcessState& state = frame::Process();
    state.start.ShowStartProgress = parsed.ShowStartProgress;
    state.start.PrintStart = parsed.PrintStart;
    state.start.OpenFileStart = parsed.kind == frame::StartKind::OpenFile;
    state.ScoreHeader.CurrentFile = parsed.CurrentFile;

    StartResult result;
    // One window per score: a score that a live window shows brings that window up instead.
    if (parsed.kind == frame::StartKind::Ordinary
        && frame::ShownByAnotherWindow(
            parsed.CurrentFile, frame::OpenScoreRegistry(), QCoreApplication::applicationPid()))
        return result;
    std::optional<StartSplash> splash;
    if (parsed.kind == frame::StartKind::Ordinary)
        splash.emplace();
    auto window = std::make_unique<MainForm>(std::move(services));
    // The window has its size before its score opens: the score's lines wrap, and its margins lie, as at
    // that size, and its text is laid out once.
    window->resize(kStartWindowSize);
    if (splash)
        window->hooks().showStartProgress = [&splash](const QString& text) { splash->setProgress(text); };
    const bool loaded = window->load();
    window->hooks().showStartProgress = nullptr;
    if (!loaded) {
        window->close();
        result.exitCode = 1;
        return result;
    }

    if (parsed.kind == frame::StartKind::Print) {
        const bool printed = window->hooks().printStartScore && window->hooks().printStartScore();
        window->close();
        result.exitCode = printed ? 0 : 1;
        return result;
    }

    PlaceWindow(*window, parsed.kind == frame::StartKind::OpenFile ? kOpenFileOffsetTwips : 0);
    splash.reset();
    RegisterOpenScore();
    result.window = std::move(window);
    return result;
}

} // namespace tunvale::editor
