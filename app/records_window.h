#pragma once
// ファイル → きろく…: what the child knows, from every row of theirs (from every computer of
// a shared folder), kept up to date as the child plays on. Not modal: play goes on behind.

#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "records/child_summary.h"

class QComboBox;
class RecordsKeeper;

class RecordsWindow : public QWidget {
    Q_OBJECT
public:
    RecordsWindow(RecordsKeeper* keeper, QWidget* parent);
    // Waits for a reading under way: it reports to this window.
    ~RecordsWindow() override;

    // Chooses the keeper's child in the list of children, and shows their records.
    void ShowChild();
    // Shows the grids among which a fact of `quizMode` is, if it has any.
    void ChooseKindsOf(int quizMode);
    const ChildSummary& Summary() const { return summary_; }
    // Whether rows are being read for the page.
    bool Reading() const { return reading_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillChildren(const QString& chosen, const QStringList& folders);
    // Reads the chosen child's rows off the game's thread, when their files changed or
    // `always`: a shared folder that stalls, or years of rows, must not stall play.
    void Reload(bool always);
    void Show(const QString& chosen, const QString& files, std::shared_ptr<ChildSummary> read,
              std::shared_ptr<QStringList> folders);

    RecordsKeeper* keeper_;
    QComboBox* children_;
    QComboBox* kinds_;
    QWidget* page_;
    ChildSummary summary_;
    QString shownFiles_;
    QTimer refresh_;
    QThreadPool reader_;
    bool reading_ = false;
    bool readAgain_ = false;
};
