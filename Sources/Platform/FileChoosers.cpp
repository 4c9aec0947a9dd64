// Qt file dialogs (Qt's own, not the desktop's, so the option areas and the preview can be part of
// them) with the program's options areas, answered by responders or driven by scripts in tests.
#include "Platform/FileChoosers.h"

#include "Platform/PlatformApp.h"
#include "Platform/PlatformWindowInternal.h"
#include "Platform/QuickDraw.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <QWidget>

#include <algorithm>
#include <memory>

namespace {

OpenPanelResponder gOpenResponder;
SavePanelResponder gSaveResponder;
FilePanelScript gScript;

// Wide enough for the sidebar, the detail columns of ordinary names and the preview.
constexpr int kPanelWidth = 980, kPanelHeight = 560;
constexpr int kPreviewWidth = 200;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// Lists folders always and files as the request's filter says.
class FileFilterModel : public QSortFilterProxyModel {
  public:
    explicit FileFilterModel(std::function<bool(const std::string&)> filter) : filter_(std::move(filter)) {}

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        auto* model = qobject_cast<QFileSystemModel*>(sourceModel());
        if (model == nullptr || !filter_) return true;
        QModelIndex index = model->index(row, 0, parent);
        if (model->isDir(index)) return true;
        return filter_(model->filePath(index).toStdString());
    }

  private:
    std::function<bool(const std::string&)> filter_;
};

void SetDisabledItems(QComboBox* combo, const std::vector<bool>& enabled) {
    auto* model = qobject_cast<QStandardItemModel*>(combo->model());
    for (int i = 0; model != nullptr && i < combo->count(); ++i)
        if (QStandardItem* item = model->item(i))
            item->setEnabled(size_t(i) >= enabled.size() || enabled[size_t(i)]);
}

// A row below the panel's own widgets.
void AddArea(QFileDialog& dialog, QWidget* area) {
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(area, grid->rowCount(), 0, 1, -1);
}

QString StartFolder(const std::string& wanted) {
    if (!wanted.empty() && QFileInfo(Q(wanted)).isDir()) return Q(wanted);
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

QFileSystemModel* SourceModel(QFileDialog& dialog) {
    return dialog.findChild<QFileSystemModel*>();
}

QTreeView* DetailView(QFileDialog& dialog) {
    return dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
}

// What both panels share: Qt's dialog, never the desktop's; the start folder; one type choice, the
// program's own, so the dialog's combo is hidden; the detail view with whole names and dates.
void PreparePanel(QFileDialog& dialog, const std::string& folder) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setDirectory(StartFolder(folder));
    dialog.setNameFilters({QStringLiteral("*")});
    for (const char* name : {"fileTypeCombo", "fileTypeLabel"})
        if (QWidget* w = dialog.findChild<QWidget*>(QString::fromLatin1(name))) w->hide();
    dialog.setViewMode(QFileDialog::Detail);
    if (QTreeView* view = DetailView(dialog)) {
        view->header()->setStretchLastSection(false);
        view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    }
    dialog.resize(kPanelWidth, kPanelHeight);
    // Once the first folder is listed, the panel widens within the screen to show its columns whole.
    QFileSystemModel* model = SourceModel(dialog);
    QTreeView* view = DetailView(dialog);
    if (model == nullptr || view == nullptr) return;
    auto widened = std::make_shared<bool>(false);
    QObject::connect(model, &QFileSystemModel::directoryLoaded, &dialog, [&dialog, view, widened] {
        if (*widened) return;
        *widened = true;
        view->header()->resizeSections(QHeaderView::ResizeToContents);
        int missing = view->header()->length() - view->viewport()->width();
        int screen = dialog.screen() != nullptr ? dialog.screen()->availableGeometry().width() : 0;
        int width = std::min(dialog.width() + missing + 4, std::max(dialog.width(), screen));
        if (missing > 0 && width > dialog.width()) dialog.resize(width, dialog.height());
    });
}

// The Open panel's preview: a port the size of the area, drawn by the program for the current file.
class PreviewArea : public QWidget {
  public:
    PreviewArea(std::function<void(const std::string&, CGrafPtr, const Rect&)> draw, QWidget* parent)
        : QWidget(parent), draw_(std::move(draw)) {
        setFixedWidth(kPreviewWidth);
        setMinimumHeight(kPreviewWidth);
    }
    ~PreviewArea() override {
        if (port_ != nullptr) DisposeGWorld(port_);
    }
    void Show(const std::string& path) {
        path_ = path;
        Render();
    }
    CGrafPtr Port() const { return port_; }

  protected:
    void resizeEvent(QResizeEvent*) override { Render(); }
    void paintEvent(QPaintEvent*) override {
        if (port_ == nullptr) return;
        QPainter painter(this);
        painter.drawImage(0, 0, PlatformPortImage(port_));
    }

  private:
    void Render() {
        Rect area{0, 0, SInt16(height()), SInt16(width())};
        if (port_ == nullptr || !EqualRect(&port_->portRect, &area)) {
            if (port_ != nullptr) DisposeGWorld(port_);
            port_ = nullptr;
            if (NewGWorld(&port_, 32, &area) != noErr) return;
        }
        CGrafPtr saved = nullptr;
        GetGWorld(&saved);
        SetGWorld(port_);
        EraseRect(&area);
        if (!path_.empty() && draw_) draw_(path_, port_, area);
        SetGWorld(saved);
        update();
    }

    std::function<void(const std::string&, CGrafPtr, const Rect&)> draw_;
    std::string path_;
    CGrafPtr port_ = nullptr;
};

// Waits (letting Qt work) until the condition holds or five seconds passed.
bool WaitFor(const std::function<bool()>& condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > 5000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

class QtPanelDriver : public FilePanelDriver {
  public:
    QtPanelDriver(QFileDialog& dialog, PreviewArea* preview) : dialog_(dialog), preview_(preview) {}

    std::string Folder() const override { return dialog_.directory().absolutePath().toStdString(); }
    std::vector<std::string> NameFilters() const override {
        std::vector<std::string> filters;
        for (const QString& f : dialog_.nameFilters())
            filters.push_back(f.toStdString());
        return filters;
    }
    Boolean TypeChoiceShown() const override {
        auto* combo = dialog_.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        return combo != nullptr && combo->isVisible();
    }
    Boolean ColumnsShowWholeEntries() override {
        QTreeView* view = DetailView(dialog_);
        if (view == nullptr || !view->isVisible() || !WaitForListing()) return false;
        view->header()->resizeSections(QHeaderView::ResizeToContents);
        QCoreApplication::processEvents();
        QAbstractItemModel* model = view->model();
        QModelIndex root = view->rootIndex();
        int total = 0;
        for (int c = 0; c < view->header()->count(); ++c) {
            if (view->header()->isSectionHidden(c)) continue;
            int size = view->header()->sectionSize(c);
            for (int row = 0; row < model->rowCount(root); ++row)
                if (size < view->sizeHintForIndex(model->index(row, c, root)).width()) return false;
            total += size;
        }
        return total <= view->viewport()->width();
    }
    void Select(const std::string& path) override {
        QFileSystemModel* model = SourceModel(dialog_);
        QTreeView* view = DetailView(dialog_);
        if (model == nullptr || view == nullptr) return;
        QModelIndex index;
        WaitFor([&] {
            QModelIndex source = model->index(Q(path));
            auto* proxy = dialog_.proxyModel();
            index = proxy != nullptr ? proxy->mapFromSource(source) : source;
            return index.isValid();
        });
        if (index.isValid()) view->setCurrentIndex(index);
        QCoreApplication::processEvents();
    }
    CGrafPtr PreviewPort() const override { return preview_ != nullptr ? preview_->Port() : nullptr; }
    void Choose(const std::string& path) override {
        dialog_.selectFile(Q(path));
        QMetaObject::invokeMethod(&dialog_, "accept");
    }
    void ChooseFormat(SInt16 format) override {
        auto* formats = dialog_.findChild<QComboBox*>(QStringLiteral("formatPopUp"));
        if (formats == nullptr) return;
        formats->setFocus();
        QCoreApplication::processEvents();
        formats->setCurrentIndex(format - 1);
        QCoreApplication::processEvents();
    }
    std::string NameField() const override {
        auto* edit = dialog_.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        return edit != nullptr ? edit->text().toStdString() : std::string();
    }
    std::string Confirm() override {
        // Offscreen nobody would answer the panel's question whether to replace a file: it is read
        // and answered No.
        std::string asked;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&asked] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (box == nullptr || !box->isVisible()) continue;
                asked = box->text().toStdString();
                if (QAbstractButton* no = box->button(QMessageBox::No))
                    no->click();
                else
                    box->reject();
            }
        });
        answer.start(20);
        QMetaObject::invokeMethod(&dialog_, "accept");
        return asked;
    }
    void Cancel() override { dialog_.reject(); }

  private:
    bool WaitForListing() {
        QFileSystemModel* model = SourceModel(dialog_);
        if (model == nullptr) return false;
        QString folder = dialog_.directory().absolutePath();
        return WaitFor([&] {
            QModelIndex root = model->index(folder);
            int expected = int(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
            return model->rowCount(root) >= expected;
        });
    }

    QFileDialog& dialog_;
    PreviewArea* preview_;
};

QItemSelectionModel* ListSelection(QFileDialog& dialog) {
    auto* list = dialog.findChild<QAbstractItemView*>(QStringLiteral("listView"));
    return list != nullptr ? list->selectionModel() : nullptr;
}

// A file still selected in the list wins over the name field in Qt's own answer (and in its
// overwrite question), and the field drops it only while the field has the keyboard. So a name
// typed while the list kept its selection would lose to the selected file. The selection goes when
// it names another file than the field.
void DropSelectionOtherThanName(QFileDialog& dialog) {
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QItemSelectionModel* selection = ListSelection(dialog);
    if (edit == nullptr || selection == nullptr) return;
    const QString typed = edit->text().trimmed();
    if (typed.isEmpty()) return;
    const QString named = QFileInfo(dialog.directory(), typed).absoluteFilePath();
    for (const QModelIndex& row : selection->selectedRows()) {
        const QFileInfo selected(row.data(QFileSystemModel::FilePathRole).toString());
        if (!selected.isDir() && selected.absoluteFilePath() != named) {
            selection->clearSelection();
            return;
        }
    }
}

// The panels answer with the file their name field names.
class NameFieldDialog : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;
    void accept() override {
        DropSelectionOtherThanName(*this);
        QFileDialog::accept();
    }
};

// Runs the dialog; offscreen a test's script answers it, else it counts as cancelled.
int RunPanel(QFileDialog& dialog, PreviewArea* preview) {
    if (PlatformIsOffscreen()) {
        if (!gScript) return QDialog::Rejected;
        QTimer::singleShot(0, &dialog, [&dialog, preview] {
            QtPanelDriver driver(dialog, preview);
            FilePanelScript script = gScript;
            script(driver);
            if (dialog.isVisible()) dialog.reject(); // a script that forgot to answer
        });
    }
    return dialog.exec();
}

} // namespace

void SetFilePanelResponders(OpenPanelResponder open, SavePanelResponder save) {
    gOpenResponder = std::move(open);
    gSaveResponder = std::move(save);
}

void SetFilePanelScript(FilePanelScript script) {
    gScript = std::move(script);
}

bool RunOpenPanel(OpenPanelRequest& request, std::string* path) {
    path->clear();
    if (gOpenResponder) return gOpenResponder(request, path);
    if (!PlatformHasApplication() || (PlatformIsOffscreen() && !gScript)) return false;
    NameFieldDialog dialog(nullptr, Q(request.prompt));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    auto* proxy = new FileFilterModel(request.filter);
    dialog.setProxyModel(proxy);
    PreparePanel(dialog, request.folder);
    PreviewArea* preview = nullptr;
    if (request.preview) {
        if (auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter"))) {
            preview = new PreviewArea(request.preview, splitter);
            splitter->addWidget(preview);
            splitter->setCollapsible(splitter->indexOf(preview), false);
            QObject::connect(&dialog, &QFileDialog::currentChanged, preview,
                             [preview](const QString& file) { preview->Show(file.toStdString()); });
        }
    }
    if (request.withOptions) {
        auto* area = new QWidget(&dialog);
        auto* grid = new QGridLayout(area);
        auto* placement = new QCheckBox(Q(request.placementTitle), area);
        auto* nativeOnly = new QCheckBox(Q(request.nativeOnlyTitle), area);
        auto* options = new QPushButton(Q(request.optionsTitle), area);
        auto* help = new QLabel(Q(request.helpText), area);
        auto* formats = new QComboBox(area);
        formats->setObjectName(QStringLiteral("formatPopUp"));
        help->setWordWrap(true);
        for (const std::string& f : request.formats)
            formats->addItem(Q(f));
        placement->setChecked(request.picturePlacement);
        nativeOnly->setChecked(request.nativeOnly);
        formats->setCurrentIndex(request.format - 1);
        grid->addWidget(formats, 0, 0);
        grid->addWidget(options, 0, 1);
        grid->addWidget(placement, 1, 0);
        grid->addWidget(nativeOnly, 2, 0);
        grid->addWidget(help, 1, 1, 2, 1);
        AddArea(dialog, area);
        QObject::connect(placement, &QCheckBox::toggled, [&](bool on) { request.picturePlacement = on; });
        QObject::connect(nativeOnly, &QCheckBox::toggled, [&, proxy](bool on) {
            request.nativeOnly = on;
            proxy->invalidate(); // the filter reads the option
        });
        QObject::connect(options, &QPushButton::clicked, [&] {
            if (request.options) request.options();
        });
        QObject::connect(formats, qOverload<int>(&QComboBox::currentIndexChanged),
                         [&](int index) { request.format = SInt16(index + 1); });
    }
    if (RunPanel(dialog, preview) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    *path = QFileInfo(dialog.selectedFiles().first()).absoluteFilePath().toStdString();
    return true;
}

bool RunSavePanel(SavePanelRequest& request, std::string* path) {
    path->clear();
    if (gSaveResponder) return gSaveResponder(request, path);
    if (!PlatformHasApplication() || (PlatformIsOffscreen() && !gScript)) return false;
    NameFieldDialog dialog(nullptr, Q(request.prompt));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    PreparePanel(dialog, request.folder);
    dialog.selectFile(Q(request.proposedName));
    auto* nameEdit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (request.withFormats) {
        auto* area = new QWidget(&dialog);
        auto* row = new QHBoxLayout(area);
        auto* formats = new QComboBox(area);
        formats->setObjectName(QStringLiteral("formatPopUp"));
        auto* append = new QCheckBox(Q(request.extensionTitle), area);
        auto* options = new QPushButton(Q(request.optionsTitle), area);
        for (const std::string& f : request.formats)
            formats->addItem(Q(f));
        SetDisabledItems(formats, request.formatEnabled);
        formats->setCurrentIndex(request.format - 1);
        append->setChecked(request.appendExtension);
        row->addWidget(formats);
        row->addWidget(append);
        row->addWidget(options);
        AddArea(dialog, area);
        auto refresh = [&, options] {
            options->setEnabled(request.optionsEnabled && request.optionsEnabled(request.format));
            if (nameEdit != nullptr && request.renameFor) {
                // Written from here, the name would join the selected file rather than replace it
                // (the field shows both, quoted, and Qt takes the first): the old file goes first.
                const std::string renamed = request.renameFor(nameEdit->text().toStdString(), request.format,
                                                              request.appendExtension);
                if (QItemSelectionModel* selection = ListSelection(dialog)) selection->clearSelection();
                nameEdit->setText(Q(renamed));
            }
        };
        refresh();
        QObject::connect(formats, qOverload<int>(&QComboBox::currentIndexChanged), [&, refresh](int index) {
            request.format = SInt16(index + 1);
            refresh();
        });
        QObject::connect(append, &QCheckBox::toggled, [&](bool on) { request.appendExtension = on; });
        QObject::connect(options, &QPushButton::clicked, [&] {
            if (request.options) request.options(request.format);
        });
    }
    if (RunPanel(dialog, nullptr) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    *path = QFileInfo(dialog.selectedFiles().first()).absoluteFilePath().toStdString();
    return true;
}
