// The view: every paint runs the program's paint sequence into an image the
// size of the client area and shows it. Commands only change the program
// state and ask for a repaint; the paint does the work.
#pragma once

#include <QImage>
#include <QPointer>
#include <QSize>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <optional>
#include <vector>

#include "local/predictions.h"
#include "program/program_state.h"
#include "views/view_paint.h"

class QPainter;
class QPrinter;

namespace vernier {

class SearchListDialog;

// The left-click read-out at the top right of the map frame: "Lon:%7.2f" at
// (frameRight - 85, 15) and "Lat:%7.2f" at (frameRight - 85, 30), white on an
// opaque black background, in the view font.
void DrawCoordinateReadout(DeviceContext& dc, const MapWindow& map, double lon, double lat);

// The geographic point under a client pixel as a left click reads it: none in
// Mercator projection, in display modes other than the map, off the globe, or
// where the pixel does not invert; the longitude brought into -180 … 180.
std::optional<ScreenGeo> ClickedGlobePoint(const ProgramState& state, int x, int y);

// The smallest drawing: a client area smaller than this scrolls.
inline constexpr QSize kSmallestDrawing{640, 480};

// Draws the view's picture onto a printer page (or any paint device of the
// given resolution) so that 100 view pixels take one inch; a picture larger
// than the printable area `printable` (device pixels, from the painter's
// origin; empty: no limit) is made smaller to fit it whole.
void PrintPicture(QPainter& painter, const QImage& picture, int dotsPerInch,
                  QSize printable = {});

class OccultationView : public QWidget {
  Q_OBJECT

 public:
  explicit OccultationView(ProgramState& state, QWidget* parent = nullptr);
  ~OccultationView() override;

  // The observer picked on the globe (right double-click at a client pixel):
  // the local circumstances for that point.
  void PickObserver(int x, int y);
  bool AnimationRunning() const;

  // Toolbar and menu commands.
  void OnNext();
  void OnPrevious();
  void OnToday();   // back to the first event on or after today
  void OnRedraw();  // the current display drawn afresh
  void OnZoomIn();
  void OnZoomOut();
  void OnZoomReset();
  void OnBackToMap();
  void OnLocal();
  void OnSky();
  void OnLimb();
  void OnList();
  void OnDate();
  void OnDisplayMode();
  void OnSearchMode();
  void OnFilePrint(QPrinter& printer);
  void OnFilePrintPreview(QPrinter& printer);

  // Posted by the search list: show its chosen row; destroy its window.
  void OnListDraw();
  // Loads a predicted contact's event for the site and shows its local circumstances.
  // An event of the element files is read again from its file; one found
  // from the ephemeris (no file holds it) is loaded from `record`.
  void ShowPredictedEvent(const PredictedContact& contact, const ObserverSite& site,
                          const BesselianElements& record);
  void DestroyListDialog();

  // Invalidates the whole client area: the next paint runs the paint sequence.
  void Repaint();

  // Paints one printed page: the paint sequence for the client area at 100
  // view pixels to the inch, in paper colours unless the display settings
  // keep the screen's.
  void PrintPage(QPrinter& printer);
  // The picture a printed page shows.
  QImage PagePicture();

  const QImage& Picture() const { return picture_; }
  SearchListDialog* ListDialog() const;
  int PaintCount() const { return paintCount_; }
  PaintOutcome LastOutcome() const { return lastOutcome_; }
  ProgramState& State() { return state_; }

  // With VERNIER_TIMING set, the first paint reports its time since `start`
  // on standard error.
  void ReportFirstPaintSince(std::chrono::steady_clock::time_point start);

 signals:
  // A short note for the status bar.
  void StatusNote(const QString& text);
  // A paint ran the paint sequence: the state may have changed.
  void Painted();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  QSize sizeHint() const override { return {684, 480}; }

 private:
  // Zooms the map with `zoom` (in or out), or says in the status bar why not.
  void Zoom(bool (*zoom)(MapWindow&, bool pathMapShown));
  // Runs the paint sequence into `image` (the client area's size).
  PaintOutcome PaintInto(QImage& image);
  void AskForDate();
  // Offers to build a band whose file stopped a command, and carries on with
  // the command when it was built.
  void OfferToBuildBand(const MissingBand& band);
  // Says in the status bar where the path map's KML file went (empty: not written).
  void ReportKmlExport(const std::string& path);
  void StartAnimation(const std::vector<OccultationDiagramState>& frames);
  void StopAnimation();
  void DrawNextAnimationFrame();

  ProgramState& state_;
  QImage picture_;
  bool showPictureOnly_ = false;  // the next paint shows the picture as it stands
  bool askingForDate_ = false;
  bool offeringBand_ = false;
  int paintCount_ = 0;
  PaintOutcome lastOutcome_ = PaintOutcome::Stopped;
  QPointer<SearchListDialog> listDialog_;
  std::optional<std::chrono::steady_clock::time_point> startTime_;
  QTimer* animationTimer_ = nullptr;
  std::vector<OccultationDiagramState> animation_;  // the local report's frames
  std::size_t animationFrame_ = 0;
};

}  // namespace vernier
