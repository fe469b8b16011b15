#pragma once
// ファイル → きろく…: what the child knows, from every row of theirs (from every computer of
// a shared folder), kept up to date as the child plays on. Not modal: play goes on behind.

#include <QString>
#include <QTimer>
#include <QWidget>

#include "records/child_summary.h"

class QComboBox;
class RecordsKeeper;

class RecordsWindow : public QWidget {
    Q_OBJECT
public:
    RecordsWindow(RecordsKeeper* keeper, QWidget* parent);

    // Chooses `name` in the list of children, and shows their records.
    void ShowChild(const QString& name);
    const ChildSummary& Summary() const { return summary_; }
    QComboBox* Children() const { return children_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillChildren(const QString& chosenFolder);
    void Reload();
    // What the chosen child's files are now: a change means rows were added.
    QString FilesNow() const;

    RecordsKeeper* keeper_;
    QComboBox* children_;
    QWidget* page_;
    ChildSummary summary_;
    QString shownFiles_;
    QTimer refresh_;
};
