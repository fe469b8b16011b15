#include "app/file_name_dialog.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/window_services.h"

CFileNameDlg::CFileNameDlg(QWidget* parent)
    : QDialog(parent),
      edit_(new QLineEdit(this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ"), this)) {
    setWindowTitle(QString::fromUtf8("ﾀﾞｲｱﾛｸﾞ"));
    setModal(true);
    // A dialog: closable, not minimizable nor resizable.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    RegisterGothicSubstitutes();
    setFont(QFont(QString::fromUtf8("ＭＳ Ｐゴシック"), 9));

    auto* prompt = new QLabel(QString::fromUtf8("新しいファイル名を入力して下さい"), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addSpacing(24);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 20, 40, 16);
    layout->addWidget(prompt);
    layout->addWidget(edit_);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CFileNameDlg::showEvent(QShowEvent* event) {
    edit_->setText(m_strFileName);
    edit_->setFocus();
    QDialog::showEvent(event);
}

void CFileNameDlg::accept() {
    m_strFileName = edit_->text();
    QDialog::accept();
}

int RunFileNameDialog(QWidget* parent, std::string* fileName) {
    CFileNameDlg dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return IDCANCEL;
    const QByteArray name = QFile::encodeName(dialog.m_strFileName);
    fileName->assign(name.constData(), static_cast<std::size_t>(name.size()));
    return IDOK;
}
