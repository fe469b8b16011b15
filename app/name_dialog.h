#pragma once
// ファイル → なまえ…: whose records the game keeps. A name already used is chosen from the
// list; a new one is typed, in kana, kanji or Latin letters.

#include <QDialog>
#include <QString>

class QComboBox;

class NameDialog : public QDialog {
    Q_OBJECT
public:
    // `names`: the names with records; `current` is shown first.
    NameDialog(const QStringList& names, const QString& current, QWidget* parent = nullptr);

    // The name as chosen or typed, without the spaces around it; empty for no name.
    QString ChosenName() const;

private:
    QComboBox* names_;
};

// Runs the dialog modally over the names of `recordsDir`; true on OK, with `name` set.
bool RunNameDialog(QWidget* parent, const QString& recordsDir, QString* name);
