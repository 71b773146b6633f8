// The converter window's layout: positions and sizes in twips (15 to a pixel), fonts.
#include "envelope/converter_window.h"

namespace envelope {
namespace {

constexpr int kMargin = 120;
constexpr int kRow = 315;          // height of a settings row
constexpr int kLabelWidth = 2700;
constexpr int kBoxWidth = 2100;
constexpr int kBoxHeight = 285;
constexpr int kButton = 285;       // height of a button
constexpr int kWindowWidth = 12300;
constexpr int kWindowHeight = 9450;
constexpr int kListTop = kMargin + 17 * kRow + 120;
constexpr int kListWidth = kWindowWidth - 2 * kMargin;
// The info view's list shows the tables' lines whole: 99 characters of Courier New 12 pt bold
// (144 twips each), the list's frame and its scroll bar.
constexpr int kInfoListWidth = 15000;

}  // namespace

void ConverterWindow::ArrangeControls() {
  frmDatei.Move(0, 0, kWindowWidth, kWindowHeight);

  // Left: the seventeen settings rows, label and box.
  const int boxLeft = kMargin + kLabelWidth + 60;
  for (int i = 1; i <= 17; ++i) {
    const int top = kMargin + (i - 1) * kRow;
    BoxLabel[i]->Move(kMargin, top + 30, kLabelWidth, kBoxHeight - 30);
    Text[i]->Move(boxLeft, top, kBoxWidth, kBoxHeight);
  }

  // Right of the settings: the run buttons, then the range and copy controls, then the sample
  // and editor buttons, each group a row.
  const int left = boxLeft + kBoxWidth + 360;
  const int wide = 900, narrow = 500, gap = 90;
  using Row = std::initializer_list<std::pair<forms::Control*, int>>;
  auto place = [&](int x, int top, Row controls) {
    for (const auto& [control, width] : controls) {
      control->Move(x, top, width, kButton);
      x += width + gap;
    }
  };
  auto row = [&](int top, Row controls) { place(left, top, controls); };
  row(kMargin, {{&Command3, wide}, {&Command19, wide}, {&Command1, narrow}, {&StartStoppFix, narrow}});
  row(kMargin + 2 * kRow,
      {{&Variation, wide}, {&Variation2, wide}, {&Text18, 700}, {&Tempo, narrow}});
  // Right of them the variation editor, a group per value kind: its slider over two rows, its
  // keys and, under the first key, its reset key.
  {
    const int top = kMargin + 2 * kRow, key = 360, slider = 240, small = 30;
    int x = left + 2 * (wide + gap) + 700 + gap + narrow + gap;
    auto group = [&](forms::ScrollBar& bar, std::initializer_list<forms::Button*> keys,
                     forms::Button& reset) {
      bar.Move(x, top, slider, kRow + kButton);
      x += slider + small;
      reset.Move(x, top + kRow, key, kButton);
      for (forms::Button* k : keys) {
        k->Move(x, top, key, kButton);
        x += key + small;
      }
      x += gap;
    };
    group(VScroll1, {&Z_Enter1, &Z_Enter2}, Z_Reset);
    group(VScroll2, {&L_Enter}, L_Reset);
    group(VScroll3, {&H_Enter}, H_Reset);
    group(VScroll4, {&K_Enter}, K_Reset);
  }
  row(kMargin + 4 * kRow, {{&StartStoppLos, wide}, {&PRFix, narrow}, {&Command7, narrow}});
  row(kMargin + 6 * kRow, {{&kopieren, wide}, {&Abstandstext, wide}});
  row(kMargin + 8 * kRow, {{&Command11, wide}, {&Command12, wide}});
  row(kMargin + 10 * kRow, {{&Orcknopf, narrow}, {&Scoknopf, narrow}});
  row(kMargin + 12 * kRow, {{&Command4, wide}, {&Csoundstore, narrow}});  // the snapshot buttons

  // At the right edge: the launchers, the audio-editor toggle, the render batch, the restore and
  // plug-in buttons, and the end.
  auto rightRow = [&](int top, Row controls) {
    int x = kWindowWidth - kMargin + gap;
    for (const auto& entry : controls) x -= entry.second + gap;
    place(x, top, controls);
  };
  rightRow(kMargin, {{&Command5, wide}, {&Command13, wide}, {&Command10, narrow}});
  // (Row 2 at the right belongs to the variation editor.)
  rightRow(kMargin + 10 * kRow,
           {{&Command8, narrow}, {&Command9, narrow}, {&Command6, narrow}, {&Stimmen, narrow}});
  rightRow(kMargin + 4 * kRow, {{&Command2, narrow}, {&Cool, narrow}});
  rightRow(kMargin + 6 * kRow, {{&Csoundknopf, narrow},
                                {&Command15, narrow},
                                {&Zumkinfo, narrow},
                                {&Zumkknopf, narrow}});
  rightRow(kMargin + 8 * kRow, {{&Command16, narrow}, {&Command17, narrow}});

  // Below: the display list across the window and the four value columns under it.
  const int listTop = kListTop;
  const int listWidth = kListWidth;
  Testlist.Move(kMargin, listTop, listWidth, 1365);
  Testlist.SetFontName("Courier New");
  Testlist.SetFontSize(12);
  Testlist.SetFontBold(true);
  Testlist.Observe([this](forms::Control&) { FitWindowToTestlist(); });
  const int columnTop = listTop + 1575 + 120;
  const int columnWidth = (listWidth - 3 * gap) / 4;
  for (int i = 1; i <= 4; ++i)
    Testliste[i]->Move(kMargin + (i - 1) * (columnWidth + gap), columnTop, columnWidth, 1800);
  FitWindowToTestlist();
}

void ConverterWindow::FitWindowToTestlist() {
  const int bottom = Testlist.top() + Testlist.height() + kMargin;
  const bool infoView = bottom > kWindowHeight;
  const int width = infoView ? kInfoListWidth + 2 * kMargin : kWindowWidth;
  Testlist.SetWidth(infoView ? kInfoListWidth : kListWidth);
  // The label that ends the program when the mouse passes over it: in the window's bottom right
  // corner, below the lists, where the mouse does not pass on its way to a button or a list line.
  constexpr int kCornerLabelWidth = 900, kCornerLabelHeight = 255;
  const int labelTop = infoView ? bottom - kMargin + 30 : kWindowHeight - kCornerLabelHeight - 75;
  Label17.Move(width - kMargin - kCornerLabelWidth, labelTop, kCornerLabelWidth,
               kCornerLabelHeight);
  frmDatei.SetWidth(width);
  frmDatei.SetHeight(infoView ? labelTop + kCornerLabelHeight + kMargin : kWindowHeight);
}

}  // namespace envelope
