#include "platform/widgets/automation/standard_pages.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

#include "platform/gui/image_loader.h"
#include "platform/gui/ole_color.h"
#include "platform/widgets/automation/class_registry.h"
#include "platform/widgets/automation/control.h"
#include "platform/widgets/automation/variant_args.h"

namespace morvane::automation {

namespace {

PageFactoryOf<ColorPage> gColorPage;
PageFactoryOf<PicturePage> gPicturePage;

constexpr int kSwatchSize = 48;
constexpr int kPreviewSize = 96;

}  // namespace

PageFactory* StandardPageFactory(const QString& classId) {
  const QString id = NormalizeClassId(classId);
  if (id == QLatin1String(kStandardColorPageId)) return &gColorPage;
  if (id == QLatin1String(kStandardPicturePageId)) return &gPicturePage;
  return nullptr;
}

// ---- the list both pages share ----

StandardPage::StandardPage(QWidget* parent, PropertyKind kind) : QWidget(parent), kind_(kind) {
  heading_ = new QLabel(QStringLiteral("&Properties:"), this);
  heading_->setObjectName(QStringLiteral("lblProperties"));
  properties_ = new QListWidget(this);
  properties_->setObjectName(QStringLiteral("lstProperties"));
  heading_->setBuddy(properties_);
  connect(properties_, &QListWidget::currentRowChanged, this,
          [this](int) { CatchAtEventBoundary([this] { ShowCurrent(); }); });
}

void StandardPage::SetObjects(const QList<Control*>& objects) {
  objects_ = objects;
  objectWidgets_.clear();
  for (Control* control : objects) objectWidgets_ << QPointer<QObject>(control->widget());
  properties_->clear();
  if (!objects_.isEmpty()) {
    for (const QString& name : objects_.first()->PropertiesOfKind(kind_)) {
      if (objects_.first()->idOfName(name)) properties_->addItem(name);
    }
  }
  if (properties_->count() > 0) properties_->setCurrentRow(0);
  ShowCurrent();
  SetChanged(false);
}

void StandardPage::EditProperty(const QString& name) {
  const QList<QListWidgetItem*> found = properties_->findItems(name, Qt::MatchFixedString);
  if (found.isEmpty()) return;
  properties_->setCurrentItem(found.first());
  properties_->setFocus();
}

QString StandardPage::CurrentProperty() const {
  const QListWidgetItem* item = properties_->currentItem();
  return item != nullptr ? item->text() : QString();
}

QVariant StandardPage::CurrentValue(const QString& property) const {
  if (objects_.isEmpty() || objectWidgets_.first().isNull() || property.isEmpty()) return {};
  Control* first = objects_.first();
  const std::optional<DispId> id = first->idOfName(property);
  return id ? first->get(*id) : QVariant();
}

void StandardPage::WriteToAll(const QString& property, const QVariant& value, bool byReference) {
  for (qsizetype i = 0; i < objects_.size(); ++i) {
    if (objectWidgets_.at(i).isNull()) continue;
    Control* control = objects_.at(i);
    const std::optional<DispId> id = control->idOfName(property);
    if (!id) continue;
    if (byReference) control->putRef(*id, value);
    else control->put(*id, value);
  }
}

// ---- colours ----

ColorPage::ColorPage(QWidget* parent) : StandardPage(parent, PropertyKind::Color) {
  setObjectName(QStringLiteral("ColorPage"));
  swatch_ = new QLabel(this);
  swatch_->setObjectName(QStringLiteral("lblColor"));
  swatch_->setFixedSize(kSwatchSize, kSwatchSize);
  swatch_->setFrameShape(QFrame::Box);
  choose_ = new QPushButton(QStringLiteral("&Choose..."), this);
  choose_->setObjectName(QStringLiteral("bbChoose"));
  connect(choose_, &QPushButton::clicked, this, [this] { CatchAtEventBoundary([this] { ChooseColor(); }); });
  auto* grid = new QGridLayout(this);
  grid->addWidget(heading_, 0, 0);
  grid->addWidget(properties_, 1, 0, 3, 1);
  grid->addWidget(swatch_, 1, 1);
  grid->addWidget(choose_, 2, 1);
  grid->setRowStretch(3, 1);
}

std::optional<std::uint32_t> ColorPage::ShownColor() const {
  const QString property = CurrentProperty();
  if (property.isEmpty()) return std::nullopt;
  if (const auto pending = pending_.find(property); pending != pending_.end()) return *pending;
  const QVariant value = CurrentValue(property);
  if (!value.isValid()) return std::nullopt;
  return ToColor(value);
}

void ColorPage::ShowCurrent() {
  const std::optional<std::uint32_t> color = ShownColor();
  choose_->setEnabled(color.has_value());
  QPixmap fill(kSwatchSize, kSwatchSize);
  fill.fill(color ? QColor::fromRgb(gui::ResolveColor(*color)) : palette().color(QPalette::Window));
  swatch_->setPixmap(fill);
}

void ColorPage::SetPendingColor(std::uint32_t color) {
  const QString property = CurrentProperty();
  if (property.isEmpty()) return;
  pending_[property] = color;
  ShowCurrent();
  SetChanged(true);
}

void ColorPage::ChooseColor() {
  const std::optional<std::uint32_t> color = ShownColor();
  if (!color) return;
  QColorDialog dialog(QColor::fromRgb(gui::ResolveColor(*color)), this);
  dialog.setOption(QColorDialog::DontUseNativeDialog, true);
  dialog.setWindowTitle(QStringLiteral("Color"));
  if (dialog.exec() != QDialog::Accepted) return;
  SetPendingColor(gui::QRgbToOle(dialog.selectedColor().rgb()));
}

void ColorPage::ApplyChanges() {
  // Each value leaves the pending list once written, so a control's error leaves
  // the rest to apply again.
  while (!pending_.isEmpty()) {
    const auto first = pending_.begin();
    WriteToAll(first.key(), FromColor(first.value()), false);
    pending_.erase(first);
  }
  ShowCurrent();
  SetChanged(false);
}

// ---- pictures ----

PicturePage::PicturePage(QWidget* parent) : StandardPage(parent, PropertyKind::Picture) {
  setObjectName(QStringLiteral("PicturePage"));
  preview_ = new QLabel(this);
  preview_->setObjectName(QStringLiteral("lblPicture"));
  preview_->setFixedSize(kPreviewSize, kPreviewSize);
  preview_->setFrameShape(QFrame::Box);
  preview_->setAlignment(Qt::AlignCenter);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("lblStatus"));
  status_->setTextFormat(Qt::PlainText);
  status_->setWordWrap(true);
  browse_ = new QPushButton(QStringLiteral("&Browse..."), this);
  browse_->setObjectName(QStringLiteral("bbBrowse"));
  clear_ = new QPushButton(QStringLiteral("C&lear"), this);
  clear_->setObjectName(QStringLiteral("bbClear"));
  connect(browse_, &QPushButton::clicked, this, [this] { CatchAtEventBoundary([this] { BrowsePicture(); }); });
  connect(clear_, &QPushButton::clicked, this, [this] { CatchAtEventBoundary([this] { ClearPicture(); }); });
  auto* grid = new QGridLayout(this);
  grid->addWidget(heading_, 0, 0);
  grid->addWidget(properties_, 1, 0, 4, 1);
  grid->addWidget(preview_, 1, 1);
  grid->addWidget(browse_, 2, 1);
  grid->addWidget(clear_, 3, 1);
  grid->addWidget(status_, 5, 0, 1, 2);
  grid->setRowStretch(4, 1);
}

void PicturePage::ShowCurrent() {
  const QString property = CurrentProperty();
  browse_->setEnabled(!property.isEmpty());
  clear_->setEnabled(!property.isEmpty());
  QImage shown;
  if (const auto pending = pending_.find(property); pending != pending_.end()) {
    shown = *pending;
  } else if (!property.isEmpty()) {
    shown = PictureOf(CurrentValue(property));
  }
  if (shown.isNull()) {
    preview_->setPixmap(QPixmap());
    preview_->setText(property.isEmpty() ? QString() : QStringLiteral("(None)"));
  } else {
    preview_->setPixmap(QPixmap::fromImage(
        shown.width() > kPreviewSize || shown.height() > kPreviewSize
            ? shown.scaled(kPreviewSize, kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)
            : shown));
  }
}

bool PicturePage::LoadPictureFile(const QString& path, QString* error) {
  const QString property = CurrentProperty();
  if (property.isEmpty()) return false;
  const gui::PictureLoad load = gui::LoadPicture(path);
  if (!load.ok()) {
    status_->setText(load.message);
    if (error != nullptr) *error = load.message;
    return false;
  }
  status_->clear();
  pending_[property] = load.image;
  ShowCurrent();
  SetChanged(true);
  return true;
}

void PicturePage::BrowsePicture() {
  if (CurrentProperty().isEmpty()) return;
  QFileDialog dialog(this, QStringLiteral("Load Picture"));
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters({QStringLiteral("All Picture Files (*.bmp *.dib *.gif *.jpg *.jpeg *.png *.ico "
                                        "*.cur *.emf *.wmf)"),
                         QStringLiteral("All Files (*)")});
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  LoadPictureFile(dialog.selectedFiles().first());
}

void PicturePage::ClearPicture() {
  const QString property = CurrentProperty();
  if (property.isEmpty()) return;
  status_->clear();
  pending_[property] = QImage();
  ShowCurrent();
  SetChanged(true);
}

void PicturePage::ApplyChanges() {
  while (!pending_.isEmpty()) {
    const auto first = pending_.begin();
    const QImage picture = first.value();
    WriteToAll(first.key(), picture.isNull() ? QVariant() : QVariant::fromValue(picture), true);
    pending_.erase(first);
  }
  ShowCurrent();
  SetChanged(false);
}

}  // namespace morvane::automation
