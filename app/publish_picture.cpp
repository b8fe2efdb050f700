#include "app/publish_picture.hpp"

void PublishPicture(const RunState& state, RunControls& controls)
{
    // A deep copy: the next run draws on the same picture, and what the window
    // and the clipboard hold must not change with it.
    const QImage picture = state.patternBitmap->image().copy();
    controls.showPicture(picture);
    controls.putOnClipboard(picture);
    controls.showClipboardNotice();
}
