#pragma once
// The About box: icon, version line, two credit lines and OK.

#include <QDialog>

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    // `credit`: the read-aloud voice and its licence's attribution, shown below when given.
    explicit CAboutDlg(QWidget* parent = nullptr, const QString& credit = {});
};
