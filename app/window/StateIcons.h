// The small pictures of the manager's rows, one per RowState in its order,
// drawn for a resolution at the size of the system's small icons there, so
// that they stay sharp at every display scale.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <type_traits>

struct ImageListDestroyer {
    void operator()(HIMAGELIST images) const noexcept { ImageList_Destroy(images); }
};
using ImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDestroyer>;

// Null when the pictures could not be made; the rows then show none.
ImageList DrawStateIcons(unsigned dpi);
