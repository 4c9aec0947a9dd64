// Qt file dialogs (Qt's own, not the desktop's, so the option areas can be part of them) with the
// program's options areas, answered by responders in tests.
#include "FileChoosers.h"

#include "PlatformApp.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QWidget>

#include <QFileSystemModel>

namespace {

OpenPanelResponder gOpenResponder;
SavePanelResponder gSaveResponder;

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

} // namespace

void SetFilePanelResponders(OpenPanelResponder open, SavePanelResponder save) {
    gOpenResponder = std::move(open);
    gSaveResponder = std::move(save);
}

bool RunOpenPanel(OpenPanelRequest& request, std::string* path) {
    path->clear();
    if (gOpenResponder) return gOpenResponder(request, path);
    if (!PlatformHasApplication() || PlatformIsOffscreen()) return false;
    QFileDialog dialog(nullptr, Q(request.prompt));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    auto* proxy = new FileFilterModel(request.filter);
    dialog.setProxyModel(proxy);
    if (request.withOptions) {
        auto* area = new QWidget(&dialog);
        auto* grid = new QGridLayout(area);
        auto* placement = new QCheckBox(Q(request.placementTitle), area);
        auto* nativeOnly = new QCheckBox(Q(request.nativeOnlyTitle), area);
        auto* options = new QPushButton(Q(request.optionsTitle), area);
        auto* help = new QLabel(Q(request.helpText), area);
        auto* formats = new QComboBox(area);
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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    *path = QFileInfo(dialog.selectedFiles().first()).absoluteFilePath().toStdString();
    return true;
}

bool RunSavePanel(SavePanelRequest& request, std::string* path) {
    path->clear();
    if (gSaveResponder) return gSaveResponder(request, path);
    if (!PlatformHasApplication() || PlatformIsOffscreen()) return false;
    QFileDialog dialog(nullptr, Q(request.prompt));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.folder.empty()) dialog.setDirectory(Q(request.folder));
    dialog.selectFile(Q(request.proposedName));
    auto* nameEdit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (request.withFormats) {
        auto* area = new QWidget(&dialog);
        auto* row = new QHBoxLayout(area);
        auto* formats = new QComboBox(area);
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
            if (nameEdit != nullptr && request.renameFor)
                nameEdit->setText(Q(request.renameFor(nameEdit->text().toStdString(), request.format,
                                                      request.appendExtension)));
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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    *path = QFileInfo(dialog.selectedFiles().first()).absoluteFilePath().toStdString();
    return true;
}
