#pragma once

// Drawing the My Calendar page into the page recorder: the picture area with
// frame and picture, the month number, the weekday row and the Sunday-first
// day grid, with Sundays and holidays overprinted in red and the month's
// anniversaries, drawn last, in their colour.

#include "mycal/page_layout.h"
#include "platform/page_recorder.h"
#include "platform/printer.h"

#include <memory>

namespace mekuri {

// Draws the page contents onto canvas with the content origin at
// (layout.x0, layout.y0). Throws CommandError for an anniversary text that is
// no date; what was drawn before stays on the canvas.
void DrawPage(PageCanvas& canvas, const PageLayout& layout, const PageInputs& inputs);

// MakePreview without the window: shows the hourglass cursor (restored on
// every path), starts a new recording in recorder (page 1, the printable
// area of metrics), draws the page and ends the recording, also when drawing
// failed; a failure then passes on to the caller.
void recordPage(PageRecorder& recorder, const PageInputs& inputs, const PrinterPageMetrics& metrics);
// The same into a recorder of its own; returns the recorded page.
std::shared_ptr<const RecordedPage> recordPage(const PageInputs& inputs, const PrinterPageMetrics& metrics);

}  // namespace mekuri
