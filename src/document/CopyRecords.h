#pragma once
// The data part of the copy dialogs. Neither sets `redrawPending`: the plot
// and the panels show the copied values after their next refresh.

class ParameterImage;

// All 26 fields (including `reserved`) of channel `source` onto channel
// `target` in the active preset. Returns false and changes nothing when an
// index, or the active preset, is outside its range.
bool copyChannelInActivePreset(ParameterImage& image, int source, int target);

// The whole preset `source` (all six channels) onto preset `target`. Returns
// false and changes nothing when an index is outside 0..3.
bool copyPreset(ParameterImage& image, int source, int target);
