#include "app/records_window.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

#include "app/records_keeper.h"
#include "game/fact_kind.h"
#include "records/child_folders.h"
#include "records/record_reader.h"
#include "records/records_painter.h"

namespace {

constexpr int kRefreshMs = 1000;

// The child's page, painted by the same code as the teacher's PDF. The pointer resting on a
// cell shows its whole fact.
class PageWidget : public QWidget {
public:
    PageWidget(const ChildSummary* summary, const RecordsKeeper* keeper, QWidget* parent)
        : QWidget(parent), summary_(summary), keeper_(keeper) {
        setAutoFillBackground(true);
        setPalette(QPalette(Qt::white));
        setMinimumSize(480, 320);
    }
    void ShowKinds(ShownKinds kinds) {
        kinds_ = std::move(kinds);
        update();
    }

protected:
    QRectF Area() const { return QRectF(rect()).adjusted(8, 8, -8, -8); }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintChildPage(painter, Area(), *summary_, keeper_->FluentSeconds(), kinds_);
    }
    bool event(QEvent* event) override {
        if (event->type() != QEvent::ToolTip) return QWidget::event(event);
        const auto* help = static_cast<QHelpEvent*>(event);
        QString fact;
        for (const FactGridCells& grid :
             ChildPageGrids(Area(), *summary_, keeper_->FluentSeconds(), kinds_)) {
            if (!grid.cells.contains(help->pos())) continue;
            const double size = grid.cells.width() / kOperands;
            const QPointF at = help->pos() - grid.cells.topLeft();
            fact = FactText(KindAt(grid.kind),
                            {static_cast<int>(at.y() / size), static_cast<int>(at.x() / size)});
        }
        if (fact.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), fact, this);
        return true;
    }

private:
    const ChildSummary* summary_;
    const RecordsKeeper* keeper_;
    ShownKinds kinds_ = {0, 1};
};

// The kinds a parent may look at together: two grids at a time read well on a small screen.
struct KindChoice {
    const char* text;
    ShownKinds kinds;
};
const std::vector<KindChoice>& KindChoices() {
    static const std::vector<KindChoice> choices = {
        {"九九・たしざん", {0, 1}}, {"ひきざん・わりざん", {2, 3}}, {"ぜんぶ", AllKinds()}};
    return choices;
}

QString ShownName(const QString& name) {
    return name.isEmpty() ? QStringLiteral("なまえなし") : name;
}

// What a child's files (or the one sheet) are now: a change means rows were added.
QString FilesOf(const QString& chosen) {
    const QFileInfo info(chosen);
    QString state;
    const QFileInfoList files = info.isDir()
                                    ? QDir(chosen).entryInfoList({"*.csv"}, QDir::Files, QDir::Name)
                                    : QFileInfoList{info};
    for (const QFileInfo& file : files)
        state += file.fileName() + ' ' + QString::number(file.size()) + ' ' +
                 QString::number(file.lastModified().toMSecsSinceEpoch()) + '\n';
    return state;
}

}  // namespace

RecordsWindow::RecordsWindow(RecordsKeeper* keeper, QWidget* parent)
    : QWidget(parent, Qt::Window),
      keeper_(keeper),
      children_(new QComboBox(this)),
      kinds_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("きろく"));
    page_ = new PageWidget(&summary_, keeper_, this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("なまえ:"), this));
    top->addWidget(children_);
    for (const KindChoice& choice : KindChoices()) kinds_->addItem(QString::fromUtf8(choice.text));
    top->addWidget(new QLabel(QStringLiteral("けいさん:"), this));
    top->addWidget(kinds_);
    top->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(page_, 1);
    // In the middle of the screen, even without a window manager to place it: the game's menu
    // stays within reach above it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, free.size() * 0.85, free));
    }
    connect(children_, &QComboBox::activated, this, [this] { Reload(true); });
    connect(kinds_, &QComboBox::currentIndexChanged, this, [this](int index) {
        static_cast<PageWidget*>(page_)->ShowKinds(KindChoices()[index].kinds);
    });
    // Only while it is shown: reading a child's years of rows is for the grown-up watching.
    connect(&refresh_, &QTimer::timeout, this, [this] {
        if (isVisible()) Reload(false);
    });
    refresh_.start(kRefreshMs);
    reader_.setMaxThreadCount(1);
}

RecordsWindow::~RecordsWindow() {
    reader_.waitForDone();
}

void RecordsWindow::showEvent(QShowEvent* event) {
    Reload(true);
    QWidget::showEvent(event);
}

// The child alone until the others' folders are listed, off the game's thread.
void RecordsWindow::ShowChild() {
    FillChildren(keeper_->ChildSource(), {});
    Reload(true);
}

void RecordsWindow::ChooseKindsOf(int quizMode) {
    const FactKind* kind = KindOf(quizMode);
    if (!kind) return;  // word problems have no grid
    const auto& choices = KindChoices();
    const auto shows = [kind](const KindChoice& c) {
        return std::ranges::count(c.kinds, kind->index);
    };
    kinds_->setCurrentIndex(
        static_cast<int>(std::ranges::find_if(choices, shows) - choices.begin()));
}

// The children with records in `folders`, and the one chosen even before it has any. A sheet
// named on the command line stands alone, as the rows of this run go there.
void RecordsWindow::FillChildren(const QString& chosen, const QStringList& folders) {
    children_->clear();
    if (!keeper_->ResultsFile().isEmpty()) {
        children_->addItem(QFileInfo(chosen).fileName(), chosen);
        return;
    }
    const QDir dir(keeper_->RecordsDir());
    for (const QString& folder : folders)
        children_->addItem(ShownName(ChildNameOfFolder(folder)), dir.filePath(folder));
    int index = children_->findData(chosen);
    if (index < 0) {
        children_->addItem(ShownName(ChildNameOfFolder(QFileInfo(chosen).fileName())), chosen);
        index = children_->count() - 1;
    }
    children_->setCurrentIndex(index);
}

void RecordsWindow::Reload(bool always) {
    if (reading_) {
        readAgain_ = readAgain_ || always;
        return;
    }
    reading_ = true;
    const QString chosen = children_->currentData().toString();
    const QString name = keeper_->ResultsFile().isEmpty()
                             ? ChildNameOfFolder(QFileInfo(chosen).fileName())
                             : children_->currentText();
    const double fluentSeconds = keeper_->FluentSeconds();
    const QString shown = always ? QString() : shownFiles_;
    const QString listed = always && keeper_->ResultsFile().isEmpty() ? keeper_->RecordsDir() : "";
    reader_.start([this, always, chosen, name, fluentSeconds, shown, listed] {
        auto folders =
            listed.isEmpty() ? nullptr : std::make_shared<QStringList>(ChildFolders(listed));
        const QString files = FilesOf(chosen);
        std::shared_ptr<ChildSummary> read;
        if (always || files != shown) {
            std::vector<RecordRow> rows;
            SkippedRecords skipped;
            ReadRecords(chosen, &rows, &skipped);
            read = std::make_shared<ChildSummary>(SummarizeChild(
                name.toStdString(), std::move(rows), fluentSeconds, std::move(skipped)));
        }
        QMetaObject::invokeMethod(
            this, [this, chosen, files, read, folders] { Show(chosen, files, read, folders); },
            Qt::QueuedConnection);
    });
}

// Back on the game's thread. Rows read for a child no longer chosen are dropped.
void RecordsWindow::Show(const QString& chosen, const QString& files,
                         std::shared_ptr<ChildSummary> read, std::shared_ptr<QStringList> folders) {
    reading_ = false;
    const bool stillChosen = chosen == children_->currentData().toString();
    if (stillChosen && folders) FillChildren(chosen, *folders);
    if (stillChosen && read) {
        shownFiles_ = files;
        summary_ = std::move(*read);
        page_->update();
    }
    if (!stillChosen || readAgain_) {
        readAgain_ = false;
        Reload(true);
    }
}
