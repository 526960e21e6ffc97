#include "app/occultation_view.h"

#include <QFileInfo>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "app/band_builder.h"
#include "app/command_availability.h"
#include "app/date_dialog.h"
#include "app/display_mode_dialog.h"
#include "app/paper_colours.h"
#include "app/search_list_dialog.h"
#include "app/search_mode_dialog.h"
#include "program/navigation.h"
#include "program/predicted_event.h"
#include "program/search_list.h"
#include "raster/raster_device_context.h"
#include "views/limb_command.h"
#include "views/local_view.h"
#include "views/sky_view.h"

namespace vernier {

namespace {

// The view's pixels per inch on the screen; on paper 100 view pixels make an
// inch.
constexpr int kScreenPixelsPerInch = 96;
constexpr int kPrintViewPixelsPerInch = 100;

}  // namespace

void DrawCoordinateReadout(DeviceContext& dc, const MapWindow& map, double lon, double lat) {
  const FontSpec previous = dc.SelectFont(ViewFont());
  dc.SetBackgroundMode(BackgroundMode::Opaque);
  dc.SetBackgroundColor({0, 0, 0});
  dc.SetTextColor({255, 255, 255});
  char text[48];
  std::snprintf(text, sizeof text, "Lon:%7.2f", lon);
  dc.TextOut(map.frameRight - 85, 15, text);
  std::snprintf(text, sizeof text, "Lat:%7.2f", lat);
  dc.TextOut(map.frameRight - 85, 30, text);
  dc.SelectFont(previous);
}

std::optional<ScreenGeo> ClickedGlobePoint(const ProgramState& state, int x, int y) {
  const MapWindow& map = state.map;
  if (map.projection == Projection::Mercator || state.display.displayMode != DisplayMode::PathMap)
    return {};
  if (!IsPixelOnGlobe(map, x, y)) return {};
  ScreenGeo point = ScreenToGeo(map, x, y);
  if (!point.found) return {};
  point.lon = NormaliseClickLongitude(point.lon);
  return point;
}

void PrintPicture(QPainter& painter, const QImage& picture, int dotsPerInch, QSize printable) {
  painter.save();
  double scale = static_cast<double>(dotsPerInch) / kPrintViewPixelsPerInch;
  if (!printable.isEmpty() && !picture.isNull()) {
    scale = std::min({scale, static_cast<double>(printable.width()) / picture.width(),
                      static_cast<double>(printable.height()) / picture.height()});
  }
  painter.scale(scale, scale);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(0, 0, picture);
  painter.restore();
}

OccultationView::OccultationView(ProgramState& state, QWidget* parent)
    : QWidget(parent), state_(state) {
  // The paint covers every pixel: nothing to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(false);
  setMinimumSize(kSmallestDrawing);
}

OccultationView::~OccultationView() {
  delete listDialog_.data();
}

SearchListDialog* OccultationView::ListDialog() const {
  return listDialog_.data();
}

void OccultationView::ReportFirstPaintSince(std::chrono::steady_clock::time_point start) {
  if (std::getenv("VERNIER_TIMING")) startTime_ = start;
}

PaintOutcome OccultationView::PaintInto(QImage& image) {
  StopAnimation();
  RasterDeviceContext dc(image, kScreenPixelsPerInch);
  const ClientRect client{0, 0, image.width(), image.height()};
  PaintOptions options;
  options.localAnimation = AnimationDrawing::Deferred;
  const ViewPaintResult result = PaintView(state_, dc, client, options);
  const PaintOutcome outcome = result.outcome;
  // The local report's animation runs one frame a second after the paint.
  if (&image == &picture_ && !result.local.animation.empty())
    StartAnimation(result.local.animation);
  if (outcome == PaintOutcome::Drawn && state_.display.displayMode == DisplayMode::PathMap &&
      state_.display.kmlOutput)
    ReportKmlExport(result.map.kmlPath);
  ++paintCount_;
  lastOutcome_ = outcome;
  // A band whose file is missing: the offer to build it opens after the paint.
  if (auto band = std::exchange(state_.navigation.missingBand, std::nullopt);
      band && !offeringBand_)
    QMetaObject::invokeMethod(
        this, [this, missing = *band] { OfferToBuildBand(missing); }, Qt::QueuedConnection);
  if (outcome == PaintOutcome::NeedsDate && !askingForDate_) {
    // The date dialog cannot run inside a paint: it opens right after it.
    askingForDate_ = true;
    QMetaObject::invokeMethod(
        this, [this] { AskForDate(); }, Qt::QueuedConnection);
  }
  return outcome;
}

void OccultationView::ReportKmlExport(const std::string& path) {
  if (path.empty())
    emit StatusNote(tr("KMLファイルは書き出されませんでした。"));
  else
    emit StatusNote(tr("KMLファイルを書き出しました: %1")
                        .arg(QFileInfo(QString::fromStdString(path)).absoluteFilePath()));
}

void OccultationView::paintEvent(QPaintEvent*) {
  if (width() <= 0 || height() <= 0) return;
  const bool painted = !showPictureOnly_ || picture_.size() != size();
  if (painted) {
    picture_ = QImage(size(), QImage::Format_RGB32);
    picture_.fill(Qt::black);
    PaintInto(picture_);
  }
  showPictureOnly_ = false;
  QPainter(this).drawImage(0, 0, picture_);
  if (painted) emit Painted();
  if (startTime_) {
    const auto elapsed = std::chrono::steady_clock::now() - *startTime_;
    std::fprintf(stderr, "vernier: first paint shown %.0f ms after start\n",
                 std::chrono::duration<double, std::milli>(elapsed).count());
    startTime_.reset();
  }
}

void OccultationView::Repaint() {
  StopAnimation();
  showPictureOnly_ = false;
  update();
}

void OccultationView::StartAnimation(const std::vector<OccultationDiagramState>& frames) {
  animation_ = frames;
  animationFrame_ = 0;
  if (!animationTimer_) {
    animationTimer_ = new QTimer(this);
    connect(animationTimer_, &QTimer::timeout, this, [this] { DrawNextAnimationFrame(); });
  }
  animationTimer_->start(kAnimationFrameMilliseconds);
}

void OccultationView::StopAnimation() {
  if (animationTimer_) animationTimer_->stop();
}

void OccultationView::DrawNextAnimationFrame() {
  if (animationFrame_ >= animation_.size() || picture_.size() != size()) {
    StopAnimation();
    return;
  }
  {
    RasterDeviceContext dc(picture_, kScreenPixelsPerInch);
    DrawLocalAnimationFrame(dc, animation_, animationFrame_++);
  }
  if (animationFrame_ >= animation_.size()) StopAnimation();
  showPictureOnly_ = true;
  update();
}

bool OccultationView::AnimationRunning() const {
  return animationTimer_ && animationTimer_->isActive();
}

void OccultationView::OfferToBuildBand(const MissingBand& band) {
  if (offeringBand_) return;
  offeringBand_ = true;
  const bool built = BandBuildDialog::OfferToBuild(this, state_.dataDirectory.primary, band);
  offeringBand_ = false;
  if (!built) return;
  ContinueWithBuiltBand(state_, band);
  Repaint();
}

void OccultationView::AskForDate() {
  askingForDate_ = false;
  // The paint has put today's date into the current date.
  if (EditCurrentDate(state_, this)) {
    state_.navigation.paintRequest = PaintRequest::ReadAtDate;
    Repaint();
  }
}

void OccultationView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || picture_.size() != size()) return;
  const QPoint at = event->position().toPoint();
  const auto point = ClickedGlobePoint(state_, at.x(), at.y());
  if (!point) return;
  // Drawn over the picture as it stands; the next repaint removes it.
  {
    RasterDeviceContext dc(picture_, kScreenPixelsPerInch);
    DrawCoordinateReadout(dc, state_.map, point->lon, point->lat);
  }
  showPictureOnly_ = true;
  update();
}

void OccultationView::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::RightButton) {
    PickObserver(at.x(), at.y());
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  // The clicked point becomes the centre of the typed window (preset 3).
  if (RecentreAtPixel(state_.map, at.x(), at.y())) {
    state_.navigation.paintRequest = PaintRequest::Redraw;
    Repaint();
  }
}

void OccultationView::PickObserver(int x, int y) {
  // The globe's hit tests, whatever the projection and the display mode.
  if (!IsPixelOnGlobe(state_.map, x, y) || picture_.size() != size()) return;
  StopAnimation();
  {
    RasterDeviceContext dc(picture_, kScreenPixelsPerInch);
    char text[32];
    std::snprintf(text, sizeof text, "x= %4d y=%4d ", x, y);
    dc.TextOut(0, 15, text);
  }
  showPictureOnly_ = true;
  update();
  ScreenGeo point = ScreenToGeo(state_.map, x, y);
  if (!point.found) return;
  state_.site.cityIndex = kTypedSiteIndex;
  state_.site.longitude = NormaliseClickLongitude(point.lon);
  state_.site.latitude = point.lat;
  state_.site.height = 0;
  state_.display.displayMode = DisplayMode::LocalCircumstances;
  state_.navigation.paintRequest = PaintRequest::Redraw;
  Repaint();
}

void OccultationView::OnNext() {
  state_.navigation.paintRequest = PaintRequest::StepForward;
  Repaint();
}

void OccultationView::OnPrevious() {
  if (const QString why = WhyPreviousDoesNothing(state_); !why.isEmpty()) {
    emit StatusNote(why);
    return;
  }
  StepBack(state_);
  Repaint();
}

void OccultationView::OnToday() {
  state_.navigation.paintRequest = PaintRequest::ReadToday;
  Repaint();
}

void OccultationView::OnRedraw() {
  state_.navigation.paintRequest = PaintRequest::Redraw;
  Repaint();
}

void OccultationView::Zoom(bool (*zoom)(MapWindow&, bool pathMapShown)) {
  if (const QString why = WhyZoomDoesNothing(state_); !why.isEmpty()) {
    emit StatusNote(why);
    return;
  }
  if (!zoom(state_.map, state_.display.displayMode == DisplayMode::PathMap)) return;
  state_.navigation.paintRequest = PaintRequest::Redraw;
  Repaint();
}

void OccultationView::OnZoomIn() {
  Zoom(ZoomIn);
}

void OccultationView::OnZoomOut() {
  Zoom(ZoomOut);
}

void OccultationView::OnZoomReset() {
  state_.display.displayMode = DisplayMode::PathMap;
  state_.map.preset = WindowPreset::WholeGlobe;
  state_.navigation.paintRequest = PaintRequest::Redraw;
  Repaint();
}

void OccultationView::OnBackToMap() {
  state_.display.displayMode = DisplayMode::PathMap;
  state_.navigation.paintRequest = PaintRequest::Redraw;
  Repaint();
}

void OccultationView::OnLocal() {
  // The paint shows whatever the local display draws.
  state_.display.displayMode = DisplayMode::LocalCircumstances;
  state_.navigation.paintRequest = PaintRequest::Redraw;
  Repaint();
}

void OccultationView::OnSky() {
  // Drawn once over the window; the next repaint shows the display mode again.
  StopAnimation();
  if (picture_.size() != size()) return;
  {
    RasterDeviceContext dc(picture_, kScreenPixelsPerInch);
    DrawSkyView(state_, dc, ClientRect{0, 0, picture_.width(), picture_.height()});
  }
  showPictureOnly_ = true;
  update();
}

void OccultationView::OnLimb() {
  // Drawn once over the window (or the missing-grid message); the next
  // repaint shows the display mode again.
  StopAnimation();
  if (picture_.size() != size()) return;
  {
    RasterDeviceContext dc(picture_, kScreenPixelsPerInch);
    DrawLimbCommand(state_, dc, ClientRect{0, 0, picture_.width(), picture_.height()}, nullptr);
  }
  showPictureOnly_ = true;
  update();
}

void OccultationView::OnList() {
  if (listDialog_) return;
  // Owned by the main window, so it stays above it.
  listDialog_ = new SearchListDialog(state_, this, window());
  listDialog_->show();
}

void OccultationView::OnListDraw() {
  if (LoadSearchResult(state_)) {
    Repaint();
    return;
  }
  if (state_.results.rows.empty()) {
    emit StatusNote(tr("星蝕リストに星蝕がありません。"));
    return;
  }
  // The row's element file could not be read: the paint shows the message.
  if (state_.navigation.paintRequest == PaintRequest::ReadAtDate) Repaint();
}

void OccultationView::ShowPredictedEvent(const PredictedContact& contact,
                                         const ObserverSite& site,
                                         const BesselianElements& record) {
  StopAnimation();
  if (contact.recordIndex > 0)
    LoadPredictedEvent(state_, contact, site);
  else
    LoadPredictedRecord(state_, record, site);
  OnLocal();
}

void OccultationView::DestroyListDialog() {
  if (listDialog_) listDialog_->deleteLater();
  listDialog_ = nullptr;
}

void OccultationView::OnDate() {
  if (!EditCurrentDate(state_, this)) return;
  state_.navigation.paintRequest = PaintRequest::ReadAtDate;
  Repaint();
}

void OccultationView::OnDisplayMode() {
  DisplayModeDialog dialog(state_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  dialog.WriteBack(state_);
  state_.navigation.paintRequest = PaintRequest::Redraw;
  Repaint();
}

void OccultationView::OnSearchMode() {
  SearchModeDialog dialog(state_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  dialog.WriteBack(state_);
  state_.navigation.paintRequest = PaintRequest::Redraw;
  Repaint();
}

QImage OccultationView::PagePicture() {
  // The page is painted as the screen is, for the client area's size.
  QImage page(size(), QImage::Format_RGB32);
  page.fill(Qt::black);
  PaintInto(page);
  if (!state_.display.printScreenColours) ToPaperColours(page);
  return page;
}

void OccultationView::PrintPage(QPrinter& printer) {
  const QImage page = PagePicture();
  QPainter painter(&printer);
  // The painter's origin is the printable area's corner; the picture fits
  // inside that area in either orientation.
  const QSize printable =
      printer.pageLayout().paintRectPixels(printer.resolution()).size();
  PrintPicture(painter, page, printer.resolution(), printable);
}

void OccultationView::OnFilePrint(QPrinter& printer) {
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() == QDialog::Accepted) PrintPage(printer);
}

void OccultationView::OnFilePrintPreview(QPrinter& printer) {
  QPrintPreviewDialog preview(&printer, this);
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [this](QPrinter* target) { PrintPage(*target); });
  preview.exec();
}

}  // namespace vernier
