#include "engine/world/Canvas.h"

namespace tw {

namespace {
const Canvas* current = nullptr;  // not owned
}

const Canvas* Canvas::get() { return current; }

void Canvas::set(const Canvas* p_canvas) { current = p_canvas; }

}  // namespace tw
