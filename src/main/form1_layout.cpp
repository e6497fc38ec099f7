// SPDX-License-Identifier: GPL-3.0-or-later
// The window description: every control of the main window with its name,
// place, size, font and colour, and the menu bar.
#include "main/form1.h"

#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/command_button.h"
#include "board/image_control.h"
#include "board/list_choices.h"
#include "board/menu_check_style.h"
#include "board/page_control.h"
#include "board/painted_cells.h"
#include "board/return_presses_button.h"
#include "board/scroll_box.h"
#include "board/ui_fonts.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QColor clSkyBlue(166, 202, 240);
const QColor clTeal(0, 128, 128);
// LblBest's teal, darkened to read at 4.5 : 1 on the sky blue.
const QColor kDeepTeal(0, 80, 80);
const QColor clGreen(0, 128, 0);
const QColor clRed(255, 0, 0);
const QColor clYellow(255, 255, 0);
const QColor clMedGray(160, 160, 164);

template <class W>
W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

void setBackground(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Base, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

// The colour of an enabled control's text; a disabled one keeps the style's
// greyed text, so that the player sees when a button cannot be pressed.
void setTextColour(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::WindowText, c);
        p.setColor(group, QPalette::ButtonText, c);
        p.setColor(group, QPalette::Text, c);
    }
    w->setPalette(p);
}

CaptionLabel* makeLabel(QWidget* parent, const char* name, QPoint at, const QFont& font, const QColor& colour) {
    auto* l = named(new CaptionLabel(parent), name);
    l->setFont(font);
    l->setFontColour(colour);
    l->setAutoSizeToText(true);
    l->move(at);
    l->hide();
    return l;
}

template <class B>
B* placeButton(B* b, const char* name, QRect geometry, const QFont& font, const QColor& colour) {
    named(b, name);
    b->setGeometry(geometry);
    b->setFont(font);
    setTextColour(b, colour);
    b->setFocusPolicy(Qt::StrongFocus);
    b->hide();
    return b;
}

QPushButton* makeButton(QWidget* parent, const char* name, QRect geometry, const QString& caption,
                        const QFont& font, const QColor& colour) {
    auto* b = placeButton(new QPushButton(caption, parent), name, geometry, font, colour);
    pressOnReturn(b);
    return b;
}

ImageControl* makeImage(QWidget* parent, const char* name, QRect geometry) {
    auto* img = named(new ImageControl(parent), name);
    img->setGeometry(geometry);
    img->hide();
    return img;
}

CaptionLabel* makePartTitle(QWidget* parent, const char* name, QPoint at, const QString& caption) {
    auto* l = named(new CaptionLabel(parent), name);
    l->setGeometry(QRect(at, QSize(50, 24)));
    l->setFont(uiFontPixels(24, true));
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setBackground(l, clYellow);
    l->setCaption(caption);
    l->hide();
    return l;
}

}  // namespace

void TForm1::createControls() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ポムリナ"));
    setFont(uiFontPixels(12));

    ClientArea = named(new QWidget(this), "ClientArea");
    ClientArea->setFixedSize(722, 524);
    setBackground(ClientArea, clSkyBlue);
    setCentralWidget(ClientArea);

    Label1 = makeLabel(ClientArea, "Label1", {32, 8}, uiFontPoints(14, true), clGreen);

    ScrollBox1 = named(new ScrollBox(ClientArea), "ScrollBox1");
    ScrollBox1->setGeometry(32, 64, 657, 409);
    ScrollBox1->setFrameShape(QFrame::Panel);
    ScrollBox1->setFrameShadow(QFrame::Sunken);
    setBackground(ScrollBox1->viewport(), clTeal);
    Image1 = makeImage(ScrollBox1->content(), "Image1", {8, 16, 100, 140});
    // Every face's thumbnail, in one widget; the title pictures come above it.
    ThumbnailGrid = named(new PaintedCells(ScrollBox1->content()), "Thumbnails");
    ThumbnailGrid->cellRole = QAccessible::Button;

    ImgFace1 = makeImage(ClientArea, "ImgFace1", {8, 120, 10, 10});
    ImgFace1->setAutoSize(true);
    ImgFace2 = makeImage(ClientArea, "ImgFace2", {384, 120, 10, 10});
    ImgFace2->setAutoSize(true);

    PageControl1 = named(new PageControl(ClientArea), "PageControl1");
    PageControl1->setGeometry(312, 48, 401, 449);
    PageControl1->tabBar()->setFont(uiFontPixels(16, true));
    setTextColour(PageControl1->tabBar(), clGreen);
    PageControl1->setUsesScrollButtons(false);
    const struct { QWidget** sheet; ScrollBox** box; const char* sheetName; const char* boxName; const char* caption; } tabs[] = {
        {&TabSheetRMe, &SBRMe, "TabSheetRMe", "SBRMe", "右目"},
        {&TabSheetLMe, &SBLMe, "TabSheetLMe", "SBLMe", "左目"},
        {&TabSheetHana, &SBHana, "TabSheetHana", "SBHana", "鼻"},
        {&TabSheetKuti, &SBKuti, "TabSheetKuti", "SBKuti", "口"},
    };
    for (const auto& t : tabs) {
        *t.sheet = named(new QWidget, t.sheetName);
        auto* layout = new QVBoxLayout(*t.sheet);
        layout->setContentsMargins(0, 0, 0, 0);
        *t.box = named(new ScrollBox(*t.sheet), t.boxName);
        (*t.box)->setFrameShape(QFrame::NoFrame);
        (*t.box)->setFixedSize(393, 417);
        layout->addWidget(*t.box);
        PageControl1->addTab(*t.sheet, QString::fromUtf8(t.caption));
    }
    const char* slotNames[] = {"", "RMe", "LMe", "Hana", "Kuti"};
    for (int s = 1; s <= 4; ++s) {
        PartCells[s] = new PaintedCells(paletteBox(s)->content());
        PartCells[s]->setObjectName(QStringLiteral("PartImages") + QLatin1String(slotNames[s]));
        PartCells[s]->setGrid(paletteGrid(0));  // the squares are sized at each game start
        // Above the face and below the palettes, as a part taken onto it.
        FaceParts[s] = makeImage(ClientArea, (QByteArray("FacePart") + slotNames[s]).constData(), {0, 0, 10, 10});
        FaceParts[s]->setStretch(true);
        FaceParts[s]->setProportional(true);
        FaceParts[s]->hide();
    }
    PageControl1->hide();

    LblScore = makeLabel(ClientArea, "LblScore", {150, 440}, uiFontPixels(27, true, true), clRed);
    LblHantei = makeLabel(ClientArea, "LblHantei", {250, 440}, uiFontPixels(29, true), clTeal);
    LblBest = makeLabel(ClientArea, "LblBest", {500, 448}, uiFontPixels(16, true), kDeepTeal);
    // The cloth lets the mouse through: drops over it land on the face below.
    ImgMekakushi = makeImage(ClientArea, "ImgMekakushi", {8, 120, 10, 10});
    ImgMekakushi->setAutoSize(true);
    ImgMekakushi->setAttribute(Qt::WA_TransparentForMouseEvents);
    ImgCountDown = makeImage(ClientArea, "ImgCountDown", {8, 120, 10, 10});
    ImgCountDown->setAutoSize(true);
    ImgCountDown->setAttribute(Qt::WA_TransparentForMouseEvents);

    const auto commandButton = [&](const QString& caption) { return new CommandButton(caption, ClientArea, services.clock); };
    BitBtnHantei = placeButton(commandButton(Texts::Hantei), "BitBtnHantei", {32, 440, 81, 33}, uiFontPixels(19, true), clGreen);
    BitBtnHantei->setEnabled(false);
    BitBtnToroku = placeButton(commandButton(Texts::Toroku), "BitBtnToroku", {128, 440, 81, 33}, uiFontPixels(19, true), clGreen);
    BitBtnCancel = placeButton(commandButton(Texts::Cancel), "BitBtnCancel", {32, 480, 81, 33}, uiFontPixels(16, true), clRed);
    BitBtnZido = makeButton(ClientArea, "BitBtnZido", {224, 440, 113, 33}, QStringLiteral("自動で囲む"),
                            uiFontPixels(16, true), clGreen);

    Edit1 = named(new QLineEdit(ClientArea), "Edit1");
    Edit1->setGeometry(128, 480, 153, 25);
    Edit1->setFont(uiFontPixels(16));
    Edit1->hide();

    ListBox1 = named(new QListWidget(ClientArea), "ListBox1");
    ListBox1->setGeometry(416, 56, 217, 393);
    ListBox1->setFont(uiFontPixels(19));
    setBackground(ListBox1, clMedGray);
    setBackground(ListBox1->viewport(), clMedGray);
    setTextColour(ListBox1, clGreen);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setStyleSheet(QStringLiteral("QListWidget::item { height: 19px; }"));
    ListBox1->hide();

    LblRMe = makePartTitle(ClientArea, "LblRMe", {400, 95}, QStringLiteral("右目"));
    LblLMe = makePartTitle(ClientArea, "LblLMe", {560, 95}, QStringLiteral("左目"));
    LblHana = makePartTitle(ClientArea, "LblHana", {472, 216}, QStringLiteral("鼻"));
    LblKuti = makePartTitle(ClientArea, "LblKuti", {472, 350}, QStringLiteral("口"));
    ImgTuikaRMe = makeImage(ClientArea, "ImgTuikaRMe", {400, 125, 65, 49});
    ImgTuikaLMe = makeImage(ClientArea, "ImgTuikaLMe", {560, 125, 65, 49});
    ImgTuikaHana = makeImage(ClientArea, "ImgTuikaHana", {472, 246, 65, 49});
    ImgTuikaKuti = makeImage(ClientArea, "ImgTuikaKuti", {472, 380, 65, 49});

    ImgTitle = makeImage(ClientArea, "ImgTitle", {0, 0, 495, 196});
    ImgTitle->setAutoSize(true);
    ImgTitle->setTransparent(true);
    ImgTitle->show();
    ImgRogo = makeImage(ClientArea, "ImgRogo", {0, 0, 368, 56});
    ImgRogo->setAutoSize(true);
    ImgRogo->show();

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(500);
    MusicTimer = named(new QTimer(this), "MusicTimer");
    MusicTimer->setInterval(1000);
    BlindTimer = named(new QTimer(this), "BlindTimer");
    if (services.timersCallHandlers) {
        connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
        connect(MusicTimer, &QTimer::timeout, this, [this] { MusicTimerTimer(); });
        connect(BlindTimer, &QTimer::timeout, this, [this] { BlindTimerTimer(); });
    }

    connectHandlers();
    createMenu();
}

void TForm1::connectHandlers() {
    connect(BitBtnHantei, &QPushButton::clicked, this, [this] { BitBtnHanteiClick(); });
    connect(BitBtnToroku, &QPushButton::clicked, this, [this] { BitBtnTorokuClick(); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { BitBtnCancelClick(); });
    connect(BitBtnZido, &QPushButton::clicked, this, [this] { BitBtnZidoClick(); });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(Edit1, &QLineEdit::returnPressed, this, [this] { Edit1ReturnPressed(); });
    new ListChoices(ListBox1, [this] { ListBox1Click(); });
    ImgFace1->onMouseDown = [this](ImageControl*, Qt::MouseButton b, QPoint p) { ImgFace1MouseDown(b, p.x(), p.y()); };
    ImgFace1->onMouseMove = [this](ImageControl*, Qt::MouseButtons, QPoint p) { ImgFace1MouseMove(p.x(), p.y()); };
    ImgFace1->onMouseUp = [this](ImageControl*, Qt::MouseButton b, QPoint p) { ImgFace1MouseUp(b, p.x(), p.y()); };
    LblRMe->onMouseDown = [this](Qt::MouseButton b) { LblRMeMouseDown(b); };
    LblLMe->onMouseDown = [this](Qt::MouseButton b) { LblLMeMouseDown(b); };
    LblHana->onMouseDown = [this](Qt::MouseButton b) { LblHanaMouseDown(b); };
    LblKuti->onMouseDown = [this](Qt::MouseButton b) { LblKutiMouseDown(b); };
}

void TForm1::createMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    // A checkable item's mark belongs to the handlers, not to Qt's automatic
    // toggle: undo the toggle before the handler decides.
    auto item = [this](QMenu* menu, const char* name, const QString& caption, bool checkable,
                       void (TForm1::*handler)()) {
        auto* a = named(new QAction(caption, this), name);
        a->setCheckable(checkable);
        connect(a, &QAction::triggered, this, [this, a, checkable, handler](bool checked) {
            if (checkable) a->setChecked(!checked);
            (this->*handler)();
        });
        if (menu) menu->addAction(a);
        return a;
    };

    F1Menu = named(bar->addMenu(QStringLiteral("顔の追加/削除(&F)")), "F1Menu");
    F1 = named(F1Menu->menuAction(), "F1");
    F1->setEnabled(false);
    A1 = item(F1Menu, "A1", QStringLiteral("顔の追加(&A)"), false, &TForm1::A1Click);
    D1 = item(F1Menu, "D1", QStringLiteral("顔の削除(&D)"), false, &TForm1::D1Click);
    // Handled by authoring's photo input (createScreens), which also gives it Ctrl+V.
    Paste1 = named(new QAction(QStringLiteral("貼り付け(&V)"), this), "Paste1");
    F1Menu->addAction(Paste1);

    R1 = item(nullptr, "R1", QStringLiteral("保存した顔(&R)"), false, &TForm1::R1Click);
    bar->addAction(R1);
    R1->setEnabled(false);

    G1Menu = named(bar->addMenu(QStringLiteral("遊び方(&G)")), "G1Menu");
    G1 = named(G1Menu->menuAction(), "G1");
    G1->setEnabled(false);
    connect(F1, &QAction::enabledChanged, G1, &QAction::setEnabled);
    G1Menu->setStyle(new CheckMarkOnlyMenuStyle(G1Menu));
    Blind1 = item(G1Menu, "Blind1", QStringLiteral("目隠しで遊ぶ(&M)"), true, &TForm1::Blind1Click);
    Best1 = item(G1Menu, "Best1", QStringLiteral("自己ベストを記録する(&S)"), true, &TForm1::Best1Click);
    G1Menu->addSeparator();
    Party1 = item(G1Menu, "Party1", QStringLiteral("みんなで遊ぶ(&P)…"), false, &TForm1::Party1Click);
    History1 = item(G1Menu, "History1", QStringLiteral("みんなの記録(&H)"), false, &TForm1::History1Click);

    BGMB1Menu = named(bar->addMenu(QStringLiteral("BGM(&B)")), "BGMB1Menu");
    BGMB1 = named(BGMB1Menu->menuAction(), "BGMB1");
    BGMB1->setEnabled(false);
    BGMB1Menu->setStyle(new CheckMarkOnlyMenuStyle(BGMB1Menu));
    ONO1 = item(BGMB1Menu, "ONO1", QStringLiteral("ON(&O)"), true, &TForm1::ONO1Click);
    OFFF1 = item(BGMB1Menu, "OFFF1", QStringLiteral("OFF(&F)"), true, &TForm1::OFFF1Click);
    OFFF1->setChecked(true);
    N1 = named(BGMB1Menu->addSeparator(), "N1");
    S1 = item(BGMB1Menu, "S1", QStringLiteral("曲の指定(&S)"), true, &TForm1::S1Click);
    R2 = item(BGMB1Menu, "R2", QStringLiteral("ランダムに(&R)"), true, &TForm1::R2Click);

    Help1 = item(nullptr, "Help1", QStringLiteral("ヘルプ(&H)"), false, &TForm1::Help1Click);
    bar->addAction(Help1);
    About1 = item(nullptr, "About1", QStringLiteral("バージョン情報(&V)"), false, &TForm1::About1Click);
    bar->addAction(About1);
}
