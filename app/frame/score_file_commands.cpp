#include "app/frame/score_file_commands.h"

#include "app/frame/editor_score_file.h"
#include "app/frame/file_helpers.h"
#include "app/frame/first_text_line.h"
#include "app/frame/process_state.h"
#include "app/frame/recent_files.h"
#include "app/frame/score_window.h"
#include "app/frame/start_args.h"
#include "app/frame/write_vls.h"
#include "app/notation/drum_data.h"
#include "app/notation/score_template.h"
#include "platform/desktop/prompts.h"
#include "platform/richtext/rich_text_box.h"
#include "platform/richtext/rtf_reader.h"
#include "platform/settings/desktop_folder.h"
#include "platform/settings/program_folder.h"
#include "platform/text/runtime_numbers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <charconv>

namespace tunvale::frame {

namespace {

using platform::Prompts;

const QString kOpenFileSwitch = QStringLiteral("/OpenFile");
const QStringList kVlsFilters = { QStringLiteral("Vls 文件(*.vls)"), QStringLiteral("*.vls"),
    QStringLiteral("所有文件(*.*)"), QStringLiteral("*.*") };
const QStringList kVlsAsFilters = { QStringLiteral("Vls文件(*.vls)"), QStringLiteral("*.vls"),
    QStringLiteral("其他文件(*.*)"), QStringLiteral("*.*") };
const QByteArray kOldFontName = QByteArrayLiteral("velmora");
const QByteArray kFontName = QByteArrayLiteral("KORVA_Note");

bool IsTemplate(const QString& path)
{
    return notation::IsTemplatePath(path)
        || (!path.isEmpty() && ScorePathKey(notation::TemplatePath()) == path);
}

// Scores written with the notation font's older name show in the current family: the font table
// names it anew, the text itself is left alone.
QByteArray WithCurrentFontNames(QByteArray rtf)
{
    const qsizetype start = rtf.indexOf("{\\fonttbl");
    if (start < 0)
        return rtf;
    int depth = 0;
    qsizetype end = rtf.size();
    for (qsizetype i = start; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '\\') {
            ++i;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            end = i;
            break;
        }
    }
    QByteArray table = rtf.mid(start, end - start);
    const QByteArray lower = table.toLower();
    QByteArray renamed;
    qsizetype from = 0;
    for (qsizetype at = lower.indexOf(kOldFontName); at >= 0; at = lower.indexOf(kOldFontName, from)) {
        renamed += table.mid(from, at - from) + kFontName;
        from = at + kOldFontName.size();
    }
    renamed += table.mid(from);
    return rtf.replace(start, end - start, renamed);
}

// The leading number of a control's text as a 16-bit value: rounded, then kept within 16 bits.
std::int16_t Clamp16(const QString& text)
{
    return std::int16_t(std::clamp(platform::RoundHalfEven(platform::Val(text)), -32768.0, 32767.0));
}

// The score folders as the file dialogs offer them: both folders are called "vls".
platform::FileDialogPlace userScorePlace() { return { UserScoreFolder(), QStringLiteral("我的乐谱") }; }
platform::FileDialogPlace sampleScorePlace() { return { SampleScoreFolder(), QStringLiteral("示例乐谱") }; }

} // namespace

// The decision's services, as this window and its process provide them.
class ScoreFileCommands::OpenServicesOfWindow final : public OpenServices
{
public:
    explicit OpenServicesOfWindow(ScoreFileCommands& commands)
        : c_(commands)
    {
    }

    qint64 FindFileWindow(const QString& path) const override
    {
        return c_.services_.registry.FindFileWindow(path);
    }
    // A print start shows its score to no one.
    void Register(const QString& path) override
    {
        if (!c_.window_.PrintStart())
            c_.services_.registry.Claim(path, c_.services_.ownId);
    }
    void RemoveEntry(const QString& path, qint64 id) override
    {
        c_.services_.registry.RemoveIfHeldBy(path, id);
    }
    RaiseVerdict RestoreWindow(qint64 id, const QString& path) override
    {
        return c_.services_.restoreWindow(id, path);
    }
    void WriteWinPos() override { c_.services_.registry.WriteWinPos(c_.window_.WindowPos()); }
    bool StartWindow(const QString& path) override
    {
        return QProcess::startDetached(c_.services_.program, { kOpenFileSwitch, path });
    }
    void AddRecentFile(const QString& path) override { c_.AddRecentFile(path); }
    bool ScoreModified() const override { return !c_.window_.header().ScoreSaved; }
    bool SaveScore() override { return c_.save(); }

private:
    ScoreFileCommands& c_;
};

QString UserScoreFolder()
{
    const QString folder = QDir(platform::ProgramFolder::userDir()).filePath(QStringLiteral("vls"));
    QDir().mkpath(folder);
    return folder;
}

QString SampleScoreFolder()
{
    return QDir(platform::ProgramFolder::dataDir()).filePath(QStringLiteral("vls"));
}

QString ScoreBrowseFolder()
{
    const QString users = UserScoreFolder();
    const bool userHasScores
        = !QDir(users).entryList({ QStringLiteral("*.vls"), QStringLiteral("*.VLS") }, QDir::Files).isEmpty();
    return userHasScores ? users : SampleScoreFolder();
}

bool IsInDataFolder(const QString& path)
{
    const QString data = ScorePathKey(platform::ProgramFolder::dataDir());
    return !path.isEmpty() && ScorePathKey(path).startsWith(data + u'/');
}

QString FormatWinPos(double left, double top, double width, double height, bool maximized)
{
    QStringList parts;
    for (const double value : { left, top, width, height }) {
        char text[32];
        const auto result
            = std::to_chars(std::begin(text), std::end(text), float(value), std::chars_format::fixed);
        parts << QString::fromLatin1(text, result.ptr - text);
    }
    parts << (maximized ? QStringLiteral("Maximized") : QStringLiteral("Normal"));
    return parts.join(u',');
}

ScoreFileCommands::ScoreFileCommands(ScoreWindow& window, ScoreFileServices services)
    : window_(window)
    , services_(std::move(services))
{
    if (services_.ownId == 0)
        services_.ownId = QCoreApplication::applicationPid();
    if (services_.program.isEmpty())
        services_.program = QCoreApplication::applicationFilePath();
    if (!services_.restoreWindow)
        services_.restoreWindow
            = [](qint64 id, const QString& path) { return WindowRaiser::AskToRaise(id, path); };
    if (!services_.fileDialog)
        services_.fileDialog = platform::ShowFileDialog;
}

void ScoreFileCommands::OpenVls(const QString& fileName, bool changesSettled)
{
    const QString path = ScorePathKey(fileName);
    OpenServicesOfWindow services(*this);
    switch (DecideOpen(path, window_.header().CurrentFile, changesSettled, services)) {
    case OpenOutcome::LoadHere: {
        // Read after the decision: a save it asked for may have named the score.
        const QString previous = window_.header().CurrentFile;
        if (!loadHere(path)) {
            if (path != previous)
                services_.registry.RemoveIfHeldBy(path, services_.ownId);
        } else if (path != previous) {
            services_.registry.RemoveIfHeldBy(previous, services_.ownId);
        }
        break;
    }
    case OpenOutcome::CloseThisWindow:
        window_.closeWindow();
        break;
    case OpenOutcome::Raised:
    case OpenOutcome::Started:
    case OpenOutcome::Nothing:
        break;
    }
}

QString CannotOpenText(const QString& path, const QString& reason)
{
    return kCannotOpenMessage + path + u'\n' + reason;
}

std::optional<QString> UnshowableTextReason(const QString& rtf, int leftMargin, int rightMargin)
{
    // The window wraps at the page's width or wider, less the margins it lays on every paragraph.
    const platform::TextWrap wrap { platform::TwipsToPixels(Process().start.PageWidthTwips), leftMargin,
        rightMargin };
    const auto read = [&rtf](platform::RichTextSink& sink) {
        return platform::ReadRtf(rtf, platform::DefaultTextFont(), sink);
    };
    platform::FontTally fonts;
    platform::TextHeightCheck height(wrap);
    platform::SinkPair both(fonts, height);
    if (!read(both))
        return std::nullopt;
    if (fonts.tooMany())
        return kTooManyFontsReason;
    if (height.tooTall(read))
        return kTallTextReason;
    return std::nullopt;
}

namespace {

QString UnreadableReason(const QString& path)
{
    const QFileInfo file(path);
    if (file.isDir())
        return kFolderReason;
    return file.isReadable() ? kUnreadableReason : kNoPermissionReason;
}

} // namespace

bool ScoreFileCommands::loadHere(const QString& path)
{
    notation::ScoreHeader& header = window_.header();
    const VlsDocument document = ReadVls(path, header, window_.colors());
    switch (document.status) {
    case VlsReadStatus::Ok:
        break;
    case VlsReadStatus::Missing:
        Prompts::current().information(kFileMissingMessage);
        return false;
    case VlsReadStatus::Unreadable:
        Prompts::current().information(CannotOpenText(path, UnreadableReason(path)));
        return false;
    case VlsReadStatus::TooLarge:
        Prompts::current().information(CannotOpenText(path, kTooLargeMessage));
        return false;
    case VlsReadStatus::Damaged:
        Prompts::current().information(CannotOpenText(path, kDamagedReason));
        return false;
    case VlsReadStatus::TooNew:
        Prompts::current().information(CannotOpenText(path, kTooNewMessage));
        window_.closeWindow();
        return false;
    }
    const QString rtf = QString::fromLatin1(WithCurrentFontNames(document.body));
    // Measured before the text goes in: the editor starts laying it out at once.
    if (const auto reason
        = UnshowableTextReason(rtf, document.header.LeftSpace, document.header.RightSpace)) {
        Prompts::current().information(CannotOpenText(path, *reason));
        return false;
    }
    // The text goes in with the margins it is to have, so that the window lays it out once.
    if (!window_.RichTextBox1().setTextRTF(rtf, window_.paragraphIndents(document.header))) {
        // Without the body marker the file was never a score; with it, it was damaged.
        const bool marked = document.bodyStart.rule != VlsMarkers::Rule::Byte10;
        Prompts::current().information(CannotOpenText(path, marked ? kDamagedReason : kNotAScoreReason));
        return false;
    }
    header = document.header;
    header.CurrentFile = path;
    window_.colors() = document.colors;
    ApplyVlsSettings(document, window_);

    window_.resetCaret();
    window_.fillSoundList();
    window_.showScoreValues();
    window_.setCaption(platform::kProgramTitle);
    if (!window_.PrintStart())
        AddRecentFile(header.CurrentFile);

    window_.keepCurrentFile(header.CurrentFile);
    window_.startHighlightCleaner();
    // The margins are on before the undo engine takes the text of its first step, so no step carries
    // them; the text has them already, the views behind it may not.
    window_.JzRTB(false);
    window_.UndoReset();

    notation::DrumStore& drums = window_.XjDrums();
    drums.assign(1, notation::DrumRecord {});
    notation::ReadDrumData(drums, path);
    const int bars = window_.XJInteger();
    if (bars >= 1)
        drums.resize(std::size_t(bars));
    window_.RefreshDrumSlider(0);
    window_.InitDrumUndo();
    window_.clearDrumUndoLists();

    window_.forgetPreviousScore();
    window_.playOrder().LoadPlayOrder(document.sections);
    header.ScoreSaved = true;
    return true;
}

void ScoreFileCommands::newScore()
{
    const QString blank = notation::TemplatePath();
    // From a named score the template goes to a further window and this score stays as it is: there is
    // nothing to save first.
    const QString& current = window_.header().CurrentFile;
    const bool named = !current.isEmpty() && !notation::IsTemplatePath(current);
    if (window_.header().ScoreSaved || named) {
        OpenVls(blank);
        return;
    }
    platform::PromptRequest question;
    question.text = kSaveFirstQuestion;
    question.icon = platform::PromptIcon::Question;
    question.buttons = platform::PromptButtons::YesNoCancel;
    question.defaultAnswer = platform::PromptAnswer::Yes;
    switch (Prompts::current().ask(question)) {
    case platform::PromptAnswer::Yes:
        if (save())
            OpenVls(blank, true);
        break;
    case platform::PromptAnswer::No:
        OpenVls(blank, true);
        break;
    default:
        break;
    }
}

void ScoreFileCommands::openWithDialog()
{
    platform::FileDialogRequest request;
    request.owner = window_.dialogOwner();
    request.title = QStringLiteral("打开简谱...");
    request.filters = { QStringLiteral("Vls 文件(*.vls)"), QStringLiteral("*.vls"),
        QStringLiteral("所有文件(*.*)"), QStringLiteral(" *.*") };
    request.initialFolder = ScoreBrowseFolder();
    request.defaultExtension = QStringLiteral(".vls");
    request.sidebarPlaces = { userScorePlace(), sampleScorePlace() };
    const QString chosen = services_.fileDialog(request, false);
    if (chosen.isEmpty())
        return;
    if (!FileExists(chosen)) {
        Prompts::current().information(kFileMissingMessage);
        return;
    }
    window_.setBarPanelText(QStringLiteral("小节：1/..."));
    OpenVls(chosen);
}

QString ScoreFileCommands::askSaveName(
    const QString& title, const QStringList& filters, const QString& folder)
{
    platform::FileDialogRequest request;
    request.owner = window_.dialogOwner();
    request.title = title;
    request.filters = filters;
    request.fileName = ProposedFileName(window_.RichTextBox1().snapshot(), QStringLiteral(".vls"));
    request.initialFolder = folder;
    request.defaultExtension = QStringLiteral(".vls");
    // The samples' folder is read-only: no place to save in.
    request.sidebarPlaces = { userScorePlace() };
    const QString chosen = services_.fileDialog(request, true);
    return chosen.isEmpty() ? QString() : ScorePathKey(chosen);
}

bool ScoreFileCommands::save()
{
    QString target = window_.header().CurrentFile;
    // The samples lie in the read-only data folder: saving one asks for a name, like an untitled score.
    if (target.isEmpty() || IsTemplate(target) || IsInDataFolder(target)) {
        target = askSaveName(QStringLiteral("保存简谱..."), kVlsFilters, UserScoreFolder());
        if (target.isEmpty())
            return false;
    }
    return saveTo(target, true);
}

bool ScoreFileCommands::saveAs()
{
    const QString target = askSaveName(QStringLiteral("另存简谱..."), kVlsAsFilters,
        platform::GetSpecialFolder(platform::CSIDL_DESKTOPDIRECTORY) + u'/');
    return !target.isEmpty() && saveTo(target, false);
}

bool ScoreFileCommands::saveTo(const QString& target, bool drumPZFromMenu)
{
    if (IsTemplate(target)) {
        Prompts::current().information(kTemplateRefusedMessage);
        return false;
    }
    // What the open would refuse, a text in too many fonts or too tall to lay out, is not written.
    notation::ScoreHeader& header = window_.header();
    const QByteArray rtf = window_.RichTextBox1().TextRTFBytes();
    if (const auto reason
        = UnshowableTextReason(QString::fromLatin1(rtf), header.LeftSpace, header.RightSpace)) {
        Prompts::current().information(
            *reason == kTooManyFontsReason ? kSaveTooManyFontsMessage : kSaveTooTallMessage);
        return false;
    }
    notation::ScoreHeader saved = header;
    saved.CurrentFile = target;
    saved.ScreenDpi = std::int16_t(window_.screenDpi());
    saved.Instrument = std::int16_t(window_.instrumentIndex());
    saved.Speed = Clamp16(window_.speedText());
    saved.Volume = Clamp16(window_.volumeText());
    if (drumPZFromMenu)
        saved.DrumPZ = window_.drumPZChecked();
    // The play order keys its file by the header's path, so the header names the target while writing.
    const notation::ScoreHeader before = header;
    header = saved;
    if (!WriteVls(header, window_.colors(), rtf, window_.XjDrums(), window_.playOrder())) {
        header = before;
        return false;
    }
    if (target != before.CurrentFile) {
        services_.registry.Claim(target, services_.ownId);
        services_.registry.RemoveIfHeldBy(before.CurrentFile, services_.ownId);
        window_.keepCurrentFile(target);
    }
    AddRecentFile(target);
    header.ScoreSaved = true;
    window_.setCaption(platform::kProgramTitle);
    return true;
}

void ScoreFileCommands::AskSaveIfModified()
{
    if (window_.header().ScoreSaved)
        return;
    platform::PromptRequest question;
    question.text = kAskSaveQuestion;
    question.icon = platform::PromptIcon::Question;
    question.buttons = platform::PromptButtons::OkCancel;
    if (Prompts::current().ask(question) == platform::PromptAnswer::Ok)
        save();
}

void ScoreFileCommands::openRecentFile(const QString& path)
{
    if (path.trimmed().isEmpty() || !FileExists(path.trimmed())) {
        Prompts::current().information(kRecentMissingMessage);
        return;
    }
    OpenVls(path.trimmed());
}

void ScoreFileCommands::AddRecentFile(const QString& path)
{
    if (RecentFiles::AddRecentFile(path))
        window_.ShowRecentFiles();
}

} // namespace tunvale::frame
