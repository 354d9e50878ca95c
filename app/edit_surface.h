#pragma once

// Where the user edits: the zoom view's click modes and events, the tree's node clicks
// and edits, the title and factor fields, and the commands of the Edit menu and the
// View and Settings commands that reach the zoom view. Edits work on a copy of the
// document's contours that the model takes; the tree, the titles and the drawing
// follow the model's notice.

#include <QColorDialog>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/click_modes.h"
#include "engine/contour_engine.h"

class QMainWindow;

namespace morvane::automation {
class FunctionSink;
}
namespace morvane::document {
class Prompts;
}
namespace morvane::widgets {
class MenuModel;
}

namespace morvane::app {

class CommandTable;
class ContourTree;
class DialogService;
class DocumentHost;
class FactorsStrip;
class ScopelView;
class StatusPanels;
class TitlesStrip;
class WorkPicture;
struct WindowSettings;

class EditSurface : public QObject {
  Q_OBJECT

 public:
  // Edits reach the document through the host, ask through the prompts and show through
  // the picture, the status panels, the tree and the strips; the colour commands use the dialog service,
  // and the dropper holds the rest of the form (the main panel stays usable).
  EditSurface(QMainWindow* form, DocumentHost& host, document::Prompts& prompts, WorkPicture& picture,
              StatusPanels& status, ContourTree& tree, TitlesStrip& titles, FactorsStrip& factors,
              widgets::MenuModel& menus, ScopelView& scopel, QWidget* pbMain, WindowSettings& settings,
              CommandTable& commands, DialogService& dialogs);
  ~EditSurface() override;

  // The commands handled here, bound into the command table.
  void BindCommands();

  ClickMode Mode() const { return mode_; }
  std::int32_t SelectedPoint() const { return selectedPoint_; }
  const engine::PointPair& Pair() const { return pair_; }
  // The colour dialog while the background colour is being chosen, else null.
  QColorDialog* Dropper() const;

  // The zoom view's events (twips of the image at 1:1).
  void ucScopel_MouseDown(int button, int shift, double x, double y);
  void ucScopel_MouseMove(double x, double y);
  void ucScopel_KeyDown(int keyCode, int shift);
  // The dropped files as the file system's bytes; true when a file was opened.
  bool ucScopel_OLEDragDrop(const std::vector<std::string>& files);
  // The tree.
  void tvCoord_NodeClick(std::int32_t node);
  void tvCoord_AfterLabelEdit(const QString& text);
  void tbNew_Enter(const QString& text);

  // Arms a click mode with its pointer.
  void Arm(ClickMode mode);

  void mEditRestore_Click();
  void mEditCopy_Click();
  void mEditDelete_Click();
  void mEditChange_Click();
  void mEditInsert_Click();
  void mEditStart_Click();
  void mEditMerge_Click();
  void mEditDeleteContour_Click();
  void mEditClockwise_Click();
  void mEditMove_Click();
  void mEditShift_Click();
  void mEditResize_Click();
  void mEditTitle_Click();
  void mFileStart_Click();
  void mFileAdd_Click();
  void mViewMagnifier_Click();
  void mViewColor_Click(int index);

 signals:
  // The what's-this popup of the zoom view (a right click without a mode).
  void WhatsThisAsked();

 private:
  // Whether the last computed command state enabled the item ("mEditDelete").
  bool ItemEnabled(const char* name) const;
  void SetCursor(const ModeCursor& cursor);
  void SetProgress2(const std::string& text);
  std::string Format() const;
  // The element an edit acts on: the tree's selected node's, moved off a heading.
  std::int32_t SelectedElement() const;
  // Hands an edited copy to the model, marks the change and redraws on a clean image.
  void TakeEdit(engine::ContourSet contours);
  void ShowContourOfTitle(const QString& numberPart);
  void ApplyDropperColour(double x, double y);

  QMainWindow* form_;
  DocumentHost& host_;
  document::Prompts& prompts_;
  WorkPicture& picture_;
  StatusPanels& status_;
  ContourTree& tree_;
  TitlesStrip& titles_;
  FactorsStrip& factors_;
  widgets::MenuModel& menus_;
  ScopelView& scopel_;
  QWidget* pbMain_;
  WindowSettings& settings_;
  CommandTable& commands_;
  std::unique_ptr<automation::FunctionSink> scopelSink_;
  int scopelCookie_ = 0;

  ClickMode mode_ = ClickMode::None;
  engine::PointPair pair_{0, 0};
  std::int32_t selectedPoint_ = 0;
  int zoomIndex_ = 0;
  bool nodeClickBusy_ = false;
  DialogService& dialogs_;
};

}  // namespace morvane::app
