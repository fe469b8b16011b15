// Stands in for the file-name dialog until it lands: the prompt is cancelled.
#include <QWidget>
#include <string>

#include "platform/window_services.h"

int RunFileNameDialog(QWidget*, std::string*) {
    return IDCANCEL;
}
