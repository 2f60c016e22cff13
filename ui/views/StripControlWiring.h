#pragma once

class GainFader;
class QWidget;
class ToggleButton;

namespace deskpanel {

class ChannelControl;

// How a strip view hands its controls' reports to the channel control: a switch press
// (or a drag across switches of its kind) is a switch change; a fader's grab, moves (with
// Alt, a move of the one channel) and release are the fader operations; a fader does not
// go above position 11 while the reduced gain range is in force.
void wireSwitch(ToggleButton* button, ChannelControl& channels);
void wireFader(GainFader* fader, ChannelControl& channels);

// Qt rebuilds the region of a widget's opaque children whenever it moves; with some two
// thousand switches and faders on a canvas that made every scroll slow. The canvas paints
// under its controls instead (a few pictures each), so a scroll stays cheap.
void keepOutOfOpaqueRegion(QWidget* control);

} // namespace deskpanel
