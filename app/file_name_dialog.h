#pragma once
// The dialog that asks for a new problem-file name.

#include <QDialog>
#include <QString>
#include <string>

class QLineEdit;
class QPushButton;

class CFileNameDlg : public QDialog {
    Q_OBJECT
public:
    explicit CFileNameDlg(QWidget* parent = nullptr);

    // The name as typed; shown in the field when the dialog opens, taken back on OK.
    QString m_strFileName;

    QLineEdit* Edit() const { return edit_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* edit_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// Runs the dialog modally. On OK stores the typed name in the file system's encoding and
// returns IDOK; otherwise returns IDCANCEL and leaves `fileName` alone.
int RunFileNameDialog(QWidget* parent, std::string* fileName);
