#include "app/name_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "records/child_folders.h"

NameDialog::NameDialog(const QStringList& folders, const QString& current, QWidget* parent)
    : QDialog(parent), names_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("なまえ"));
    setModal(true);
    names_->setEditable(true);
    names_->setInsertPolicy(QComboBox::NoInsert);
    names_->setMinimumContentsLength(16);
    // The unnamed record is chosen by leaving the name empty.
    for (const QString& folder : folders)
        if (const QString name = ChildNameOfFolder(folder); !name.isEmpty())
            names_->addItem(name, folder);
    names_->setCurrentText(current);
    names_->lineEdit()->selectAll();
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

QString NameDialog::ChosenName() const {
    return ChildName(names_->currentText());
}

// The list's folder when its name is chosen, and not a name typed that merely looks alike.
QString NameDialog::ChosenFolder() const {
    const int index = names_->findText(names_->currentText(), Qt::MatchExactly);
    return index < 0 ? QString() : names_->itemData(index).toString();
}

bool RunNameDialog(QWidget* parent, const QString& recordsDir, QString* name, QString* folder) {
    NameDialog dialog(ChildFolders(recordsDir), *name, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    *name = dialog.ChosenName();
    *folder = dialog.ChosenFolder();
    return true;
}
