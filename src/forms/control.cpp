#include "forms/window_model.h"

#include "forms/window_definition.h"

namespace lumora::forms {

Control::Control(const WindowDefinition& window, std::string_view name) {
  const int index = FindControlIndex(window, name);
  if (index < 0 || !IsLoaded(window)) {
    FatalError("指定窗口或窗口组件不存在或尚未载入");
    return;
  }
  window_ = &window;
  index_ = index;
}

const ControlDefinition& Control::Definition() const {
  return window_->controls[index_];
}

Text Control::GetText() const {
  return Valid() ? System().GetText(*window_, index_) : Text();
}

void Control::SetText(const Text& text) {
  if (Valid()) {
    System().SetText(*window_, index_, text);
  }
}

bool Control::Visible() const {
  return Valid() && System().IsVisible(*window_, index_);
}

void Control::SetVisible(bool visible) {
  if (Valid()) {
    System().SetVisible(*window_, index_, visible);
  }
}

bool Control::Enabled() const {
  return Valid() && System().IsEnabled(*window_, index_);
}

void Control::SetEnabled(bool enabled) {
  if (Valid()) {
    System().SetEnabled(*window_, index_, enabled);
  }
}

bool Control::Checked() const {
  return Valid() && System().IsChecked(*window_, index_);
}

void Control::SetChecked(bool checked) {
  if (Valid()) {
    System().SetChecked(*window_, index_, checked);
  }
}

int Control::SliderPosition() const {
  return Valid() ? System().SliderPosition(*window_, index_) : 0;
}

void Control::SetSliderPosition(int position) {
  if (Valid()) {
    System().SetSliderPosition(*window_, index_, position);
  }
}

void Control::SetSliderRange(int minimum, int maximum) {
  if (Valid()) {
    System().SetSliderRange(*window_, index_, minimum, maximum);
  }
}

int Control::RowCount() const {
  return Valid() ? System().RowCount(*window_, index_) : 0;
}

int Control::AppendRow(const Text& text) {
  return Valid() ? System().AppendRow(*window_, index_, text) : -1;
}

void Control::DeleteAllRows() {
  if (Valid()) {
    System().DeleteAllRows(*window_, index_);
  }
}

void Control::DeleteRow(int row) {
  if (Valid()) {
    System().DeleteRow(*window_, index_, row);
  }
}

Text Control::CellText(int row, int cell) const {
  return Valid() ? System().CellText(*window_, index_, row, cell) : Text();
}

void Control::SetCellText(int row, int cell, const Text& text) {
  if (Valid()) {
    System().SetCellText(*window_, index_, row, cell, text);
  }
}

int Control::RowImage(int row) const {
  return Valid() ? System().RowImage(*window_, index_, row) : -1;
}

void Control::SetRowImage(int row, int image) {
  if (Valid()) {
    System().SetRowImage(*window_, index_, row, image);
  }
}

bool Control::RowChecked(int row) const {
  return Valid() && System().IsRowChecked(*window_, index_, row);
}

void Control::SetRowChecked(int row, bool checked) {
  if (Valid()) {
    System().SetRowChecked(*window_, index_, row, checked);
  }
}

int Control::CurrentRow() const {
  return Valid() ? System().CurrentRow(*window_, index_) : -1;
}

void Control::SetCurrentRow(int row) {
  if (Valid()) {
    System().SetCurrentRow(*window_, index_, row);
  }
}

int Control::TopRow() const {
  return Valid() ? System().TopRow(*window_, index_) : 0;
}

void Control::ScrollToTopRow(int row) {
  if (Valid()) {
    System().ScrollToTopRow(*window_, index_, row);
  }
}

void Control::SortRows(int cell, bool ascending, bool numeric) {
  if (Valid()) {
    System().SortRows(*window_, index_, cell, ascending, numeric);
  }
}

void Control::EnsureRowVisible(int row) {
  if (Valid()) {
    System().EnsureRowVisible(*window_, index_, row);
  }
}

void Control::Focus(bool selectAll) {
  if (Valid()) {
    System().FocusControl(*window_, index_, selectAll);
  }
}

void ShowBalloonTip(const WindowDefinition& window, const Text& text) {
  Control(window, kBalloonTipName).ShowBalloon(text, System().TipPosition(window));
}

int Control::ChooseFromMenu(std::span<const Text> items, Point screenPosition) {
  return Valid() ? System().ChooseFromMenu(*window_, index_, items, screenPosition) : -1;
}

void Control::HideBalloon(const Text& text) {
  if (Valid()) {
    System().HideBalloon(*window_, index_, text);
  }
}

void Control::ShowBalloon(const Text& text, Point screenPosition) {
  if (Valid()) {
    System().ShowBalloon(*window_, index_, text, screenPosition);
  }
}

}  // namespace lumora::forms
