#include "app/about_dialog.h"

#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "platform/gdi.h"

namespace {

// Positions are laid out in dialog units: a quarter of the font's average character
// width across, an eighth of its height down.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font) : metrics_(font) {}
    QRect Rect(int x, int y, int w, int h) const { return QRect(X(x), Y(y), X(w), Y(h)); }
    int X(int units) const { return units * metrics_.averageCharWidth() / 4; }
    int Y(int units) const { return units * metrics_.height() / 8; }

private:
    QFontMetrics metrics_;
};

QPixmap ApplicationIcon() {
    for (const char* name : {":/fizmo.png", ":/fizmo.ico"})
        if (QFile::exists(name)) return QPixmap(name);
    return QPixmap();
}

QLabel* AddText(QWidget* dialog, const QString& text, const QRect& where) {
    auto* label = new QLabel(text, dialog);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(where);
    return label;
}

// The voice's credit, as its licence asks, below the box's own lines: the box grows for it.
void AddCredit(QDialog* dialog, const DialogUnits& du, const QString& credit) {
    const int lines = static_cast<int>(credit.count('\n')) + 1;
    constexpr int kTop = 55;
    constexpr int kLineHeight = 8;
    QLabel* label = AddText(dialog, credit, du.Rect(11, kTop, 199, lines * kLineHeight));
    label->setObjectName(QStringLiteral("voiceCredit"));
    dialog->setFixedSize(du.X(217), du.Y(kTop + lines * kLineHeight + 7));
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent, const QString& credit) : QDialog(parent) {
    RegisterGothicSubstitutes();
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSize(9);
    setFont(font);
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(Zan)"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    const DialogUnits du(font);
    setFixedSize(du.X(217), du.Y(55));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setGeometry(du.X(11), du.Y(17), 32, 32);  // an icon shows at its own size
    icon->setPixmap(ApplicationIcon());

    AddText(this, QStringLiteral("Fizmo Version 2.0"), du.Rect(40, 10, 119, 8));
    AddText(this, QStringLiteral("Linux 版 (Qt 6 と SDL2)"), du.Rect(39, 40, 119, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(du.Rect(178, 7, 32, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    AddText(this, QStringLiteral("たのしく けいさん れんしゅう！"), du.Rect(39, 23, 124, 8));
    if (!credit.isEmpty()) AddCredit(this, du, credit);
}
