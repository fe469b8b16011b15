#pragma once
// Whether the window is wholly covered by other windows. Only an X server without a
// compositor says so; anywhere else the window always counts as seen.

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <cstdint>

class QWindow;

class CoverWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    CoverWatch(QWindow* window, QObject* parent);
    ~CoverWatch() override;
    bool Covered() const { return covered_; }

signals:
    void changed();

protected:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

private:
    std::uint32_t window_ = 0;
    bool watching_ = false;
    bool covered_ = false;
};
