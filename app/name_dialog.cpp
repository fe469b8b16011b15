#include "app/name_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QThreadPool>
#include <QVBoxLayout>

#include "records/child_folders.h"

NameDialog::NameDialog(const QStringList& folders, const QString& current, QWidget* parent)
    : QDialog(parent), names_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("なまえ"));
    setModal(true);
    names_->setEditable(true);
    names_->setInsertPolicy(QComboBox::NoInsert);
    names_->setMinimumContentsLength(16);
    names_->setCurrentText(current);
    names_->lineEdit()->selectAll();
    AddFolders(folders);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("あそぶ人のなまえを えらぶか、あたらしく 入れてください。\n"
                                  "記録は なまえごとに のこります (なまえなしも できます)。"),
                   this));
    layout->addWidget(names_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void NameDialog::AddFolders(const QStringList& folders) {
    const QString typed = names_->currentText();
    const bool allSelected = names_->lineEdit()->selectedText() == typed;
    // The unnamed record is chosen by leaving the name empty.
    for (const QString& folder : folders)
        if (const QString name = ChildNameOfFolder(folder); !name.isEmpty())
            names_->addItem(name, folder);
    names_->setEditText(typed);
    if (allSelected) names_->lineEdit()->selectAll();
}

QString NameDialog::ChosenName() const {
    return ChildName(names_->currentText());
}

// The list's folder when its name is chosen, and not a name typed that merely looks alike.
QString NameDialog::ChosenFolder() const {
    const int index = names_->findText(names_->currentText(), Qt::MatchExactly);
    return index < 0 ? QString() : names_->itemData(index).toString();
}

bool RunNameDialog(QWidget* parent, const QString& recordsDir, QString* name, QString* folder) {
    NameDialog dialog({}, *name, parent);
    QThreadPool::globalInstance()->start([recordsDir, alive = QPointer<NameDialog>(&dialog)] {
        const QStringList folders = ChildFolders(recordsDir);
        QMetaObject::invokeMethod(
            qApp,
            [alive, folders] {
                if (alive) alive->AddFolders(folders);
            },
            Qt::QueuedConnection);
    });
    if (dialog.exec() != QDialog::Accepted) return false;
    *name = dialog.ChosenName();
    *folder = dialog.ChosenFolder();
    return true;
}
