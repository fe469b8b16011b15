#pragma once
// ファイル → なまえ…: whose records the game keeps. A name already used is chosen from the
// list; a new one is typed, in kana, kanji or Latin letters.

#include <QDialog>
#include <QString>

class QComboBox;

class NameDialog : public QDialog {
    Q_OBJECT
public:
    // `folders`: the children's folders with records; `current` is shown first.
    NameDialog(const QStringList& folders, const QString& current, QWidget* parent = nullptr);

    // The name as chosen or typed, as the records keep it (ChildName); empty for no name.
    QString ChosenName() const;
    // The folder of the name chosen from the list; empty for a name typed anew.
    QString ChosenFolder() const;
    // Adds the children of `folders` to the list, leaving what is typed as it is.
    void AddFolders(const QStringList& folders);

private:
    QComboBox* names_;
};

// Runs the dialog modally over the children of `recordsDir`, listed off the game's thread as
// a share may stall; true on OK, with `name` and `folder` (ChosenFolder) set.
bool RunNameDialog(QWidget* parent, const QString& recordsDir, QString* name, QString* folder);
