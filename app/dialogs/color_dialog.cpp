#include "app/dialogs/color_dialog.h"

#include "app/dialogs/color_picker.h"
#include "app/editor/editing/stored_color.h"
#include "app/frame/color_block.h"
#include "app/frame/process_state.h"
#include "app/notation/score_template.h"
#include "platform/desktop/prompts.h"
#include "platform/richtext/rich_text_edit.h"
#include "platform/settings/program_folder.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tunvale::dialogs {

using editor::StoredColor;

namespace {

const QString kSaveFailed = QStringLiteral("保存失败！");

// The sample: a notation line of eleven signs in KORVA_Note at 32 points, whose fourth sign is the
// line's third note, and a lyric line in 宋体 at 12 points.
const QString kSampleRtf = QStringLiteral(
    R"({\rtf1\ansi\ansicpg936\deff0{\fonttbl{\f0\fnil\fcharset134 KORVA_Note;}{\f1\fnil\fcharset134 \'cb\'ce\'cc\'e5;}})"
    R"({\colortbl ;\red0\green128\blue0;\red0\green0\blue0;})"
    R"(\viewkind4\uc1\pard\ri405\cf1\lang2052\f0\fs64\'d2\'bb\'92\'be\'b4\'ae\'81\'50\'92\'bf\'d8\'fd\'83\'e4\'92\'be\'81\'c2\'d1\'f8\'92\'c9)"
    R"(\par \pard\ri405\sa200\sl276\slmult1\cf2\f1\fs24  \'b8\'e8  \'b4\'ca\fs11  \fs24\'d0\'d0   \'d1\'d5     \'c9\'ab\cf0\fs18\par \pard\cf2\fs30\par })");
constexpr int kNotationLength = 11;
constexpr int kThirdNote = 3;
constexpr int kLyricStart = 13; // after the notation line and its break
constexpr int kLyricLength = 17;

struct OptionText {
    const char* caption;
    const char* tip;
};
constexpr OptionText kOptions[] = {
    { "编辑及演唱背景(&B)", "文本框的背景颜色，所有选项可用鼠标双击。" },
    { "简谱行颜色(&L)", "所有选项可用鼠标双击。" },
    { "演唱音符(以第三个音符为例,&N)", "所有选项可用鼠标双击。" },
    { "演唱音符背景(&J)", "所有选项可用鼠标双击。" },
    { "歌词行颜色（&C）", "设置歌词行有效，否则为前字体颜色。用“歌词字体”可设置不同颜色。" },
};

notation::ColorScheme& colors() { return frame::Process().ColorScheme; }

platform::ApiHighlight& highlighter()
{
    frame::ProcessState& process = frame::Process();
    if (!process.Highlighter)
        process.Highlighter = std::make_unique<platform::ApiHighlight>();
    return *process.Highlighter;
}

// A check box under an option, indented as its dependant.
QWidget* indented(QCheckBox* check)
{
    auto* holder = new QWidget;
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(24, 0, 0, 0);
    layout->addWidget(check);
    return holder;
}

} // namespace

std::optional<std::int32_t> StandardColorPicker::pick(QWidget* owner, std::int32_t initial)
{
    const QColor chosen = QColorDialog::getColor(StoredColor(initial), owner);
    if (!chosen.isValid())
        return std::nullopt;
    return editor::StoredValue(chosen);
}

std::int32_t ComplementColor(std::int32_t c) { return ~c & 0xFFFFFF; }

ColorDialog::ColorDialog(ColorSchemeWindow& window, ColorPicker& picker, QWidget* parent)
    : QDialog(parent)
    , window_(window)
    , picker_(picker)
{
    setObjectName(QStringLiteral("FrmSetColor"));
    setWindowTitle(QStringLiteral("简谱界面颜色..."));
    buildWindow();
    loadSample();
    highlighter().AssignControls(sample_);
    if (frame::Process().ScoreHeader.FileVer <= 1)
        frame::ReadColor0(notation::TemplatePath(), colors());
    savedColors_ = colors();
    ShowColorSample();
}

void ColorDialog::buildWindow()
{
    auto* sampleFrame = new QGroupBox(QStringLiteral("颜色示例"), this);
    sampleFrame->setObjectName(QStringLiteral("Frame1"));
    sampleView_ = new platform::RichTextEdit(sampleFrame);
    sampleView_->setObjectName(QStringLiteral("RTBShow"));
    sampleView_->setReadOnly(true);
    sampleView_->setMinimumSize(400, 180);
    sampleView_->installEventFilter(this);
    (new QVBoxLayout(sampleFrame))->addWidget(sampleView_);

    auto* optionFrame = new QGroupBox(QStringLiteral("选项"), this);
    optionFrame->setObjectName(QStringLiteral("Frame2"));
    auto* optionLayout = new QVBoxLayout(optionFrame);
    check1_ = new QCheckBox(QStringLiteral("只对选中歌词有效"), optionFrame);
    check1_->setObjectName(QStringLiteral("Check1"));
    check2_ = new QCheckBox(QStringLiteral("只对选中简谱有效"), optionFrame);
    check2_->setObjectName(QStringLiteral("Check2"));
    for (std::size_t i = 0; i < options_.size(); ++i) {
        auto* option = new QRadioButton(QString::fromUtf8(kOptions[i].caption), optionFrame);
        option->setObjectName(QStringLiteral("ColorSet(%1)").arg(i));
        option->setToolTip(QString::fromUtf8(kOptions[i].tip));
        option->installEventFilter(this);
        options_[i] = option;
        optionLayout->addWidget(option);
        if (i == std::size_t(ColorOption::NotationLines))
            optionLayout->addWidget(indented(check2_));
        if (i == std::size_t(ColorOption::LyricLines))
            optionLayout->addWidget(indented(check1_));
    }
    optionLayout->addStretch();

    check3_ = new QCheckBox(QStringLiteral("同时保存为初始颜色"), this);
    check3_->setObjectName(QStringLiteral("Check3"));
    ok_ = new QPushButton(QStringLiteral("确定"), this);
    ok_->setObjectName(QStringLiteral("OKandSave"));
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName(QStringLiteral("CancelandExit"));
    for (QPushButton* button : { ok_, cancel_ })
        button->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, &ColorDialog::acceptColors);
    connect(cancel_, &QPushButton::clicked, this, &ColorDialog::cancelColors);

    auto* layout = new QGridLayout(this);
    layout->addWidget(sampleFrame, 0, 0);
    layout->addWidget(optionFrame, 0, 1, 1, 3);
    layout->addWidget(check3_, 1, 0);
    layout->addWidget(ok_, 1, 2);
    layout->addWidget(cancel_, 1, 3);
    layout->setColumnStretch(1, 1);
}

void ColorDialog::loadSample()
{
    sampleView_->box().setTextRTF(kSampleRtf);
    sample_ = new platform::RichTextBox(sampleView_->document(), this);
}

void ColorDialog::enableSelectionChecks(bool lyrics, bool notation)
{
    check1_->setEnabled(lyrics);
    check2_->setEnabled(notation);
}

void ColorDialog::ApplyColorChoice(ColorOption option)
{
    const std::optional<std::int32_t> picked = picker_.pick(this, lastPicked_);
    if (!picked)
        return;
    lastPicked_ = *picked;
    applied_ = true;
    notation::ColorScheme& scheme = colors();
    switch (option) {
    case ColorOption::Background:
        scheme.EditBackColor = *picked;
        window_.applyBackground();
        break;
    case ColorOption::NotationLines:
        if (check2_->isChecked()) {
            window_.colourSelectedPieces(true, *picked);
            return;
        }
        scheme.JpLineColor = *picked;
        window_.recolourLines(true);
        break;
    case ColorOption::PlayedNote:
        scheme.PlayNoteColor = ComplementColor(*picked);
        break;
    case ColorOption::PlayedNoteBack:
        scheme.PlayNoteBackColor = ComplementColor(*picked);
        break;
    case ColorOption::LyricLines:
        if (check1_->isChecked()) {
            window_.colourSelectedPieces(false, *picked);
            return;
        }
        scheme.LyricLineColor = *picked;
        window_.recolourLines(false);
        break;
    }
    ShowColorSample();
}

void ColorDialog::ShowColorSample()
{
    const notation::ColorScheme& scheme = colors();
    QPalette palette = sampleView_->palette();
    palette.setColor(QPalette::Base, StoredColor(scheme.EditBackColor));
    sampleView_->setPalette(palette);
    sample_->select(0, kNotationLength);
    sample_->setSelColor(StoredColor(scheme.JpLineColor));
    sample_->select(kThirdNote, 1);
    sample_->setSelColor(StoredColor(ComplementColor(scheme.PlayNoteColor)));
    highlighter().APIHighlightHard(StoredColor(ComplementColor(scheme.PlayNoteBackColor)));
    sample_->select(kLyricStart, kLyricLength);
    sample_->setSelColor(StoredColor(scheme.LyricLineColor));
}

void ColorDialog::acceptColors()
{
    if (check3_->isChecked()
        && !frame::WriteColor0(platform::ProgramFolder::userPath(notation::kTemplateFileName), colors()))
        platform::Prompts::current().information(kSaveFailed);
    closedBy_ = ColorDialogClose::Ok;
    done(Accepted);
}

void ColorDialog::cancelColors()
{
    colors() = savedColors_;
    window_.takeBackChanges();
    applied_ = false;
    closedBy_ = ColorDialogClose::Cancel;
    done(Rejected);
}

void ColorDialog::reject()
{
    closedBy_ = ColorDialogClose::Kept;
    QDialog::reject();
}

void ColorDialog::done(int result)
{
    highlighter().AssignControls(&window_.playView());
    QDialog::done(result);
}

bool ColorDialog::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == sampleView_ && (type == QEvent::KeyPress || type == QEvent::KeyRelease)) {
        if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            reject();
        return true;
    }
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        for (std::size_t i = 0; i < options_.size(); ++i) {
            if (watched != options_[i])
                continue;
            options_[i]->setChecked(true);
            options_[i]->setFocus();
            ApplyColorChoice(ColorOption(i));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tunvale::dialogs
