// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box: product name and version, the logo and the author's web
// address, which opens in the web browser when clicked. Shown modally by the
// main window; while it is open the background music is stopped.
#include <QDialog>
#include <QImage>
#include <functional>

class DesktopShell;
class ImageControl;
class QLabel;

namespace AboutTexts {
inline const QString Caption = QStringLiteral("ポムリナのバージョン情報");
inline const QString Version = QStringLiteral("ポムリナ\u3000Ver1.10 ");
inline const QString AuthorAddress = QStringLiteral("https://pomurina.example/");
}  // namespace AboutTexts

class TForm2 : public QDialog {
    Q_OBJECT
public:
    // owner: the main window; logo: the picture shown (the title's logo);
    // shell opens the address; closed runs whenever the box closes.
    TForm2(QWidget* owner, const QImage& logo, DesktopShell& shell, std::function<void()> closed);

    void Label2MouseMove();
    void FormMouseMove();
    void Label2Click();
    // Hands the closing on (the music starts again when it is switched on).
    void FormClose();

    QLabel* Label1 = nullptr;
    ImageControl* ImageRogo = nullptr;
    QLabel* Label2 = nullptr;

    // Every way of closing the box (close button, Esc, close()) ends here.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setAddressColour(const QColor& colour);

    DesktopShell& shell_;
    std::function<void()> closed_;
    bool addressPressed_ = false;
};
