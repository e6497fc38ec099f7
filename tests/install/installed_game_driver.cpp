// SPDX-License-Identifier: GPL-3.0-or-later
// A player for the installed game, loaded into the unchanged executable with
// LD_PRELOAD: once the application object exists it waits for the face
// selection, plays one game with real mouse and key input (by the controls'
// object names), saves the face under a name and closes the window. Each step
// is reported on stdout as "driver: ..."; a failure ends the program with
// status 3, and a watchdog ends it if a step never comes.
#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

namespace {

const QString kSaveName = QStringLiteral("初めての顔");

void say(const QString& text) {
    std::printf("driver: %s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

void fail(const QString& why) {
    say(QStringLiteral("FAILED ") + why);
    QCoreApplication::exit(3);
}

QWidget* form() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Form1") && w->isVisible()) return w;
    return nullptr;
}

template <class T = QWidget>
T* control(const QString& name) {
    QWidget* f = form();
    return f ? f->findChild<T*>(name) : nullptr;
}

bool shown(const QString& name) {
    QWidget* w = control(name);
    return w && w->isVisible();
}

QPoint windowPos(QWidget* w, QPoint at) { return w->mapTo(form(), at); }
void press(QWidget* w, QPoint at) {
    QTest::mousePress(form()->windowHandle(), Qt::LeftButton, Qt::NoModifier, windowPos(w, at));
}
void moveTo(QWidget* w, QPoint at) { QTest::mouseMove(form()->windowHandle(), windowPos(w, at)); }
void release(QWidget* w, QPoint at) {
    QTest::mouseRelease(form()->windowHandle(), Qt::LeftButton, Qt::NoModifier, windowPos(w, at));
}
void click(QWidget* w, QPoint at) {
    QTest::mouseClick(form()->windowHandle(), Qt::LeftButton, Qt::NoModifier, windowPos(w, at));
}

// A point of item of a widget that paints many (the thumbnails, a
// palette), found as a screen reader finds it: the item's place on the
// accessibility bus, at from its top-left corner. Null when it is not there.
std::optional<QPoint> cellPoint(QWidget* cells, int item, QPoint at) {
    QAccessibleInterface* list = cells ? QAccessible::queryAccessibleInterface(cells) : nullptr;
    QAccessibleInterface* cell = list && item < list->childCount() ? list->child(item) : nullptr;
    if (!cell || cell->rect().isEmpty()) return std::nullopt;
    return cells->mapFromGlobal(cell->rect().topLeft()) + at;
}

// A step waits until its condition holds, then acts; false from act fails.
struct Step {
    QString name;
    std::function<bool()> ready;
    std::function<bool()> act;
};

std::vector<Step> steps() {
    std::vector<Step> s;
    s.push_back({QStringLiteral("face selection reached"),
                 [] {
                     return shown(QStringLiteral("Label1")) && shown(QStringLiteral("Thumbnails")) &&
                            cellPoint(control(QStringLiteral("Thumbnails")), 0, {5, 5});
                 },
                 [] { return true; }});
    s.push_back({QStringLiteral("face chosen"), [] { return true; },
                 [] {
                     QWidget* thumbnails = control(QStringLiteral("Thumbnails"));
                     click(thumbnails, *cellPoint(thumbnails, 0, {5, 5}));
                     return true;
                 }});
    // The pictures are decoded behind the face selection; the game shows
    // once they are in.
    s.push_back({QStringLiteral("game started"), [] { return shown(QStringLiteral("ImgFace1")); },
                 [] { return true; }});
    s.push_back({QStringLiteral("four parts placed"), [] { return true; },
                 [] {
                     auto* tabs = control<QTabWidget>(QStringLiteral("PageControl1"));
                     QWidget* face = control(QStringLiteral("ImgFace1"));
                     if (!tabs || !face) return false;
                     const char* palettes[] = {"", "PartImagesRMe", "PartImagesLMe", "PartImagesHana", "PartImagesKuti"};
                     for (int slot = 1; slot <= 4; ++slot) {
                         tabs->setCurrentIndex(slot - 1);
                         QWidget* part = control(QLatin1String(palettes[slot]));
                         if (!part || !part->isVisible()) return false;
                         const std::optional<QPoint> grab = cellPoint(part, 0, {1, 1});
                         if (!grab) return false;
                         const QPoint target(face->width() / 4 + 20 * slot, face->height() / 4 + 30 * slot);
                         press(part, *grab);
                         QTest::mouseMove(form()->windowHandle(), (windowPos(part, *grab) + windowPos(face, target)) / 2);
                         moveTo(face, target);
                         release(face, target);
                     }
                     auto* judge = control<QPushButton>(QStringLiteral("BitBtnHantei"));
                     return judge && judge->isEnabled();
                 }});
    s.push_back({QStringLiteral("judged"), [] { return true; },
                 [] {
                     auto* judge = control<QPushButton>(QStringLiteral("BitBtnHantei"));
                     click(judge, judge->rect().center());
                     auto* save = control<QPushButton>(QStringLiteral("BitBtnCancel"));
                     return save && save->isVisible() && save->text() == QStringLiteral("保存");
                 }});
    s.push_back({QStringLiteral("saved ") + kSaveName, [] { return true; },
                 [] {
                     auto* save = control<QPushButton>(QStringLiteral("BitBtnCancel"));
                     click(save, save->rect().center());
                     auto* name = control<QLineEdit>(QStringLiteral("Edit1"));
                     if (!name || !name->isVisible()) return false;
                     for (const QChar c : kSaveName)
                         QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(c), Qt::NoModifier);
                     click(save, save->rect().center());
                     return !name->isVisible();
                 }});
    return s;
}

void startDriver() {
    auto* plan = new std::vector<Step>(steps());
    auto* next = new size_t(0);
    auto* poll = new QTimer(qApp);
    auto* sinceLastAct = new QElapsedTimer;
    QObject::connect(poll, &QTimer::timeout, [=] {
        // A message box means the game met an error it reports to the player.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                poll->stop();
                fail(QStringLiteral("message box: ") + box->text());
                return;
            }
        if (!form()) return;
        const Step& step = (*plan)[*next];
        // A player takes longer between presses than a double click does:
        // the game takes quicker presses after a button's change as the
        // second half of a double click.
        if (sinceLastAct->isValid() && sinceLastAct->elapsed() <= QApplication::doubleClickInterval()) return;
        if (!step.ready()) return;
        sinceLastAct->start();
        if (!step.act()) {
            poll->stop();
            fail(step.name);
            return;
        }
        say(step.name);
        if (++*next == plan->size()) {
            poll->stop();
            form()->close();
        }
    });
    poll->start(100);
    QTimer::singleShot(90000, qApp, [=] {
        if (*next >= plan->size()) return;
        poll->stop();
        fail(QStringLiteral("timed out before: ") + (*plan)[*next].name);
    });
}

void queueDriver() {
    // Runs once the message loop runs: the window exists by then.
    QMetaObject::invokeMethod(qApp, startDriver, Qt::QueuedConnection);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(queueDriver)
