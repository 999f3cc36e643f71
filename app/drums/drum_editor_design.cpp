#include "app/drums/choice_list.h"
#include "app/drums/drum_editor.h"
#include "app/drums/speed_box.h"
#include "app/drums/step_grid.h"
#include "app/drums/template_list.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>

#include <cmath>

// Where the controls stand, in twips as the editor was designed: the pattern on the left, the
// template library on the right beyond the narrow width.
namespace tunvale::drums {

namespace {

constexpr int kHeightTwips = 5070;
constexpr int kStatusTwips = 330;
constexpr int kRowTop = 600;
constexpr int kRowPitch = 330;
constexpr int kRowHeight = 300;

// The pan mirror's picture: left and right as the pans stand, swapped when mirrored.
QPixmap PanPicture(bool mirrored, QSize size)
{
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    painter.setPen(QColor(90, 90, 90));
    painter.setBrush(mirrored ? QColor(255, 226, 196) : QColor(214, 232, 255));
    painter.drawRoundedRect(area, 3, 3);
    QFont font = painter.font();
    font.setPixelSize(std::max(8, size.height() - 5));
    font.setBold(true);
    painter.setFont(font);
    const double third = area.width() / 3;
    painter.drawText(QRectF(area.left(), area.top(), third, area.height()), Qt::AlignCenter,
        mirrored ? QStringLiteral("R") : QStringLiteral("L"));
    painter.drawText(QRectF(area.right() - third, area.top(), third, area.height()), Qt::AlignCenter,
        mirrored ? QStringLiteral("L") : QStringLiteral("R"));
    // A double arrow between the two sides.
    const double y = area.center().y();
    const double left = area.left() + third;
    const double right = area.right() - third;
    painter.drawLine(QPointF(left, y), QPointF(right, y));
    for (const auto& [tip, back] : { std::pair { left, left + 3 }, std::pair { right, right - 3 } }) {
        painter.drawLine(QPointF(tip, y), QPointF(back, y - 3));
        painter.drawLine(QPointF(tip, y), QPointF(back, y + 3));
    }
    return picture;
}

} // namespace

int DrumEditor::pixels(double twips) const { return int(std::lround(twips * logicalDpiX() / 1440.0)); }

void DrumEditor::buildControls()
{
    const auto place = [this](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(pixels(left), pixels(top), pixels(width), pixels(height));
    };
    const auto label = [&](QWidget* parent, const QString& text, int left, int top, int width) {
        auto* l = new QLabel(text, parent);
        place(l, left, top, width, 300);
        return l;
    };
    content_ = new QWidget(this);
    place(content_, 0, 0, kWideTwips, kHeightTwips - kStatusTwips);

    Frame2 = new QGroupBox(QStringLiteral("鼓点结构/编辑窗口"), content_);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    place(Frame2, 60, 60, 11280, 4560);
    label(Frame2, QStringLiteral("名称："), 150, 330, 600);
    Text1 = new QLineEdit(Frame2);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAcceptDrops(true);
    place(Text1, 750, 300, 2700, 330);
    CheckHaveDrum = new QCheckBox(QStringLiteral("鼓点在歌曲中可用"), Frame2);
    CheckHaveDrum->setObjectName(QStringLiteral("CheckHaveDrum"));
    place(CheckHaveDrum, 3600, 300, 2400, 330);
    label(Frame2, QStringLiteral("拍号："), 6100, 330, 600);
    ComboTime = new ChoiceList(Frame2);
    ComboTime->setObjectName(QStringLiteral("ComboTime"));
    place(ComboTime, 6700, 300, 1500, 330);
    label(Frame2, QStringLiteral("速度："), 8350, 330, 600);
    Text_Speed = new SpeedBox(Frame2);
    Text_Speed->setObjectName(QStringLiteral("Text_Speed"));
    place(Text_Speed, 8950, 300, 1050, 330);
    Label7 = label(Frame2, QString(), 6100, 700, 5000);
    Label7->setObjectName(QStringLiteral("Label7"));

    Frame6 = buildTracks(Frame2);
    Frame5 = new QGroupBox(QStringLiteral("节奏"), Frame2);
    Frame5->setObjectName(QStringLiteral("Frame5"));
    place(Frame5, 5760, 1000, 4140, 3420);
    Label5 = new StepGrid(kRowPitch, Frame5);
    Label5->move(pixels(150), pixels(kRowTop + (kRowHeight - StepGrid::kRowTwips) / 2.0));
    buildButtons(Frame2);

    Label2 = new QLabel(content_);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setCursor(Qt::PointingHandCursor);
    place(Label2, 11370, 2200, 300, 300);

    auto* library = new QGroupBox(QStringLiteral("备用鼓点"), content_);
    place(library, 11700, 60, 2340, 4560);
    myDrumList = new TemplateList(library);
    place(myDrumList, 90, 270, 2160, 4200);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    buildMenus();
}

QGroupBox* DrumEditor::buildTracks(QWidget* parent)
{
    auto* frame = new QGroupBox(QStringLiteral("通道可用性、音量、乐器"), parent);
    frame->setObjectName(QStringLiteral("Frame6"));
    frame->setGeometry(pixels(120), pixels(1000), pixels(5520), pixels(3420));
    const auto place = [this](QWidget* w, int left, int top, int width) {
        w->setGeometry(pixels(left), pixels(top), pixels(width), pixels(kRowHeight));
    };
    for (const auto& [text, left] : { std::pair { "通道", 120 }, { "乐器", 780 }, { "音量", 3030 } })
        place(new QLabel(QString::fromUtf8(text), frame), left, 270, 700);
    Image1 = new QLabel(frame);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setToolTip(QStringLiteral("声像镜像"));
    Image1->setGeometry(pixels(4260), pixels(270), pixels(600), pixels(255));
    for (int t = 0; t < kTracks; ++t) {
        const int top = kRowTop + t * kRowPitch;
        const auto name = [t](const char* control) {
            return QStringLiteral("%1(%2)").arg(QLatin1String(control)).arg(t);
        };
        CheckChannel[t] = new QCheckBox(QString::number(t + 1), frame);
        CheckChannel[t]->setObjectName(name("CheckChannel"));
        place(CheckChannel[t], 120, top, 600);
        ComboDrum[t] = new ChoiceList(frame);
        ComboDrum[t]->setObjectName(name("ComboDrum"));
        place(ComboDrum[t], 720, top, 2280);
        TextVolume[t] = new QLineEdit(frame);
        TextVolume[t]->setObjectName(name("TextVolume"));
        TextVolume[t]->setToolTip(QStringLiteral("音量(0-127)"));
        place(TextVolume[t], 3030, top, 480);
        VScrollvolume[t] = new QScrollBar(Qt::Vertical, frame);
        VScrollvolume[t]->setObjectName(name("VScrollvolume"));
        // The bar holds the volume negated, so that its upper arrow raises the volume.
        VScrollvolume[t]->setRange(-127, 0);
        place(VScrollvolume[t], 3510, top, 240);
        Slider_Drum[t] = new QSlider(Qt::Horizontal, frame);
        Slider_Drum[t]->setObjectName(name("Slider_Drum"));
        Slider_Drum[t]->setRange(0, 127);
        Slider_Drum[t]->setToolTip(QStringLiteral("声像(0-127)，64居中"));
        place(Slider_Drum[t], 3840, top, 1560);
    }
    return frame;
}

void DrumEditor::buildButtons(QWidget* parent)
{
    const auto button = [&](const char* object, const char* text, int top) {
        auto* b = new QPushButton(QString::fromUtf8(text), parent);
        b->setObjectName(QLatin1String(object));
        b->setGeometry(pixels(10020), pixels(top), pixels(1140), pixels(390));
        return b;
    };
    CmdClear = button("CmdClear", "清除", 1150);
    CmdAudition = button("CmdAudition", "试听", 1650);
    CmdIncreaseSave = button("CmdIncreaseSave", "保存至..", 2150);
    Command1 = button("Command1", "帮助", 2650);
}

void DrumEditor::buildMenus()
{
    munMyDrum = new QMenu(QStringLiteral("备用鼓点"), this);
    munMyDrum->setObjectName(QStringLiteral("munMyDrum"));
    const auto item = [](QMenu* menu, const char* object, const char* text) {
        QAction* action = menu->addAction(QString::fromUtf8(text));
        action->setObjectName(QLatin1String(object));
        return action;
    };
    ModAudition = item(munMyDrum, "ModAudition", "试听");
    munEditForDat = item(munMyDrum, "munEditForDat", "编辑");
    munDelDataDrum = item(munMyDrum, "munDelDataDrum", "删除");
    munSendForSong = item(munMyDrum, "munSendForSong", "发送到简谱...");

    DrumSave = new QMenu(QStringLiteral("将鼓点"), this);
    DrumSave->setObjectName(QStringLiteral("DrumSave"));
    SaveJmD[0] = item(DrumSave, "SaveJmD(0)", "模板");
    SaveJmD[1] = DrumSave->addSeparator();
    SaveJmD[2] = item(DrumSave, "SaveJmD(2)", "原小节");
    SaveJmD[3] = item(DrumSave, "SaveJmD(3)", "另外小节...");
}

void DrumEditor::setNarrow(bool narrow)
{
    narrow_ = narrow;
    Label2->setText(narrow ? QStringLiteral(">>") : QStringLiteral("<<"));
    Label2->setToolTip(narrow ? QStringLiteral("显示备用鼓点") : QStringLiteral("隐藏备用鼓点"));
    const int width = pixels(narrow ? kNarrowTwips : kWideTwips);
    setFixedSize(width, pixels(kHeightTwips));
    StatusBar1->setGeometry(0, pixels(kHeightTwips - kStatusTwips), width, pixels(kStatusTwips));
}

void DrumEditor::showPanPicture() { Image1->setPixmap(PanPicture(panMirrored_, Image1->size())); }

} // namespace tunvale::drums
