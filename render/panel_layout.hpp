#pragma once
// The picture's geometry: one scale for the three panels and their centres, as
// model points in pixels from the bottom-left corner with y upward.

struct PanelLayout {
    float Scale = 0;  // pixels per unit of reciprocal length
    float Centre1X = 0, Centre1Y = 0;
    float Centre2X = 0, Centre2Y = 0;
    float Centre3X = 0, Centre3Y = 0;
};
