#include "app/name_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "records/child_folders.h"

NameDialog::NameDialog(const QStringList& names, const QString& current, QWidget* parent)
    : QDialog(parent), names_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("なまえ"));
    setModal(true);
    names_->setEditable(true);
    names_->setInsertPolicy(QComboBox::NoInsert);
    names_->setMinimumContentsLength(16);
    names_->addItems(names);
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
    return names_->currentText().trimmed();
}

bool RunNameDialog(QWidget* parent, const QString& recordsDir, QString* name) {
    QStringList names = ChildrenWithRecords(recordsDir);
    names.removeAll(QString());  // the unnamed record is chosen by leaving the name empty
    NameDialog dialog(names, *name, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    *name = dialog.ChosenName();
    return true;
}
