#include "engine/world/Grid.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <unordered_set>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/world/Geometry.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"

namespace tw {

namespace {
const int DEFAULT_CELL_WIDTH = 20;
const int DEFAULT_CELL_HEIGHT = 8;

// floor(coordinate / size) as an int. Coordinates far outside the world (or
// not a number) become -1 or a large index, both of which read as outside.
int cellIndex(float coordinate, int size) {
  const float index = std::floor(coordinate / static_cast<float>(size));
  if (!(index >= -1.0f)) return -1;
  if (index > 1.0e8f) return 100000000;
  return static_cast<int>(index);
}

// The objects a collision query has found so far, when duplicates are
// possible: a short list while few, a hash set beyond that.
class TouchedSet {
 public:
  explicit TouchedSet(bool init_checking) : checking(init_checking) {}
  // False when p_o was added before.
  bool add(const Object* p_o) {
    if (!checking) return true;
    if (std::find(few, few + few_count, p_o) != few + few_count) return false;
    if (!many.empty() && many.count(p_o) != 0) return false;
    if (few_count < FEW) {
      few[few_count++] = p_o;
    } else {
      many.insert(p_o);
    }
    return true;
  }

 private:
  static const size_t FEW = 16;
  bool checking;
  const Object* few[FEW];
  size_t few_count = 0;
  std::unordered_set<const Object*> many;
};

// A size below one cell unit would divide by zero: fall back to the default.
int checkedCellSize(int configured, int fallback, const char* name) {
  if (configured >= 1) return configured;
  LogManager::getInstance().writeLog("Grid::Grid(): Warning! %s %d not positive, using %d.", name,
                                     configured, fallback);
  return fallback;
}
}  // namespace

Grid::Grid()
    : allocated(false),
      num_cols(0),
      num_rows(0),
      cell_width(checkedCellSize(Config::getInstance().getGridWidth(), DEFAULT_CELL_WIDTH,
                                 "grid_width")),
      cell_height(checkedCellSize(Config::getInstance().getGridHeight(), DEFAULT_CELL_HEIGHT,
                                  "grid_height")),
      revision(0) {}

int Grid::startUp() {
  const LogManager& log = LogManager::getInstance();
  if (allocated) {
    log.writeLog("Grid::startUp(): Warning! Grid allocated. Not proceeding.");
    return -1;
  }
  const Box boundary = WorldManager::getInstance().getBoundary();
  num_cols = static_cast<int>(std::ceil(boundary.getHorizontal() / static_cast<float>(cell_width)));
  num_rows = static_cast<int>(std::ceil(boundary.getVertical() / static_cast<float>(cell_height)));
  if (num_cols < 0) num_cols = 0;
  if (num_rows < 0) num_rows = 0;
  log.writeLog(5, "Grid::startUp(): m_num_cols %d, m_num_rows %d", num_cols, num_rows);
  try {
    cells.assign(static_cast<size_t>(num_rows), std::vector<ObjectList>());
  } catch (const std::bad_alloc&) {
    log.writeLog("Grid::startUp(): Error! Unable to allocate %d grid rows.", num_rows);
    return -1;
  }
  try {
    for (std::vector<ObjectList>& row : cells) row.resize(static_cast<size_t>(num_cols));
  } catch (const std::bad_alloc&) {
    log.writeLog("Grid::startUp(): Error! Unable to allocate columns.");
    cells.clear();
    return -1;
  }
  allocated = true;
  outside.clear();
  solid_boxes.clear();
  box_slot.clear();
  revision++;
  return 0;
}

void Grid::shutDown() {
  if (allocated) {
    cells.clear();
    cells.shrink_to_fit();
    allocated = false;
  }
  outside.clear();
  solid_boxes.clear();
  box_slot.clear();
  revision++;
}

bool Grid::isStarted() const { return allocated; }

const ObjectList* Grid::listFor(const Cell& cell) const {
  if (cell == OUTSIDE_CELL) return &outside;
  if (!allocated || cell.x < 0 || cell.x >= num_cols || cell.y < 0 || cell.y >= num_rows) {
    return nullptr;
  }
  return &cells[static_cast<size_t>(cell.y)][static_cast<size_t>(cell.x)];
}

bool Grid::CellRange::operator==(const CellRange& other) const {
  return x0 == other.x0 && y0 == other.y0 && x1 == other.x1 && y1 == other.y1 &&
         outside == other.outside;
}

bool Grid::CellRange::holds(int x, int y) const { return x0 <= x && x <= x1 && y0 <= y && y <= y1; }

Grid::CellRange Grid::rangeOf(const Object* p_o, Vector where) const {
  const Box box = getWorldBox(p_o, where);
  const Vector corner = box.getCorner();
  CellRange range{cellIndex(corner.getX(), cell_width), cellIndex(corner.getY(), cell_height),
                  cellIndex(corner.getX() + box.getHorizontal(), cell_width),
                  cellIndex(corner.getY() + box.getVertical(), cell_height), false};
  range.outside = range.y0 < 0 || range.x0 < 0 || range.y1 >= num_rows || range.x1 >= num_cols;
  if (range.x0 < 0) range.x0 = 0;
  if (range.y0 < 0) range.y0 = 0;
  if (range.x1 > num_cols - 1) range.x1 = num_cols - 1;
  if (range.y1 > num_rows - 1) range.y1 = num_rows - 1;
  return range;
}

CellSet Grid::getCells(const Object* p_o, Vector where) const {
  const CellRange range = rangeOf(p_o, where);
  CellSet set;
  if (range.outside) set.insert(OUTSIDE_CELL);
  for (int y = range.y0; y <= range.y1; y++) {
    for (int x = range.x0; x <= range.x1; x++) set.insert(Cell{x, y});
  }
  return set;
}

bool Grid::ready(const char* where, const Object* p_o) const {
  if (!allocated) {
    LogManager::getInstance().writeLog("%s: Error! grid is NULL", where);
    return false;
  }
  if (p_o == nullptr) {
    LogManager::getInstance().writeLog("%s: Error! Object is NULL", where);
    return false;
  }
  return true;
}

int Grid::insertObject(Object* p_o) {
  if (!ready("Grid::insertObject()", p_o)) return -1;
  const CellRange range = rangeOf(p_o, p_o->getPosition());
  if (range.outside) outside.insert(p_o);
  for (int y = range.y0; y <= range.y1; y++) {
    for (int x = range.x0; x <= range.x1; x++) cellAt(x, y).insert(p_o);
  }
  recordBox(p_o, p_o->getPosition());
  revision++;
  return 0;
}

int Grid::removeObject(Object* p_o) {
  if (!ready("Grid::removeObject()", p_o)) return -1;
  if (!p_o->isSolid() || !p_o->isActive()) return 0;
  const CellRange range = rangeOf(p_o, p_o->getPosition());
  if (range.outside) outside.remove(p_o);
  for (int y = range.y0; y <= range.y1; y++) {
    for (int x = range.x0; x <= range.x1; x++) cellAt(x, y).remove(p_o);
  }
  dropBox(p_o);
  revision++;
  return 0;
}

// Cells in both ranges keep their lists untouched; the rest change in row order.
int Grid::updatePosition(Object* p_o, Vector where) {
  if (!ready("Grid::updatePosition()", p_o)) return -1;
  revision++;
  recordBox(p_o, where);
  const CellRange from = rangeOf(p_o, p_o->getPosition());
  const CellRange to = rangeOf(p_o, where);
  if (from == to) return 0;
  if (from.outside && !to.outside) outside.remove(p_o);
  for (int y = from.y0; y <= from.y1; y++) {
    for (int x = from.x0; x <= from.x1; x++) {
      if (!to.holds(x, y)) cellAt(x, y).remove(p_o);
    }
  }
  if (to.outside && !from.outside) outside.insert(p_o);
  for (int y = to.y0; y <= to.y1; y++) {
    for (int x = to.x0; x <= to.x1; x++) {
      if (!from.holds(x, y)) cellAt(x, y).insert(p_o);
    }
  }
  return 0;
}

// Candidates that miss the box are dropped before the duplicate check, so
// usually only the few objects actually touched are compared with each other.
ObjectList Grid::getCollisions(const Object* p_o, Vector where) const {
  if (!ready("Grid::getCollisions()", p_o)) return ObjectList();
  const Box box = getWorldBox(p_o, where);
  const CellRange range = rangeOf(p_o, where);
  const int cell_count = (range.outside ? 1 : 0) + (range.x1 - range.x0 + 1) * (range.y1 - range.y0 + 1);
  ObjectList result;
  // An object spanning several cells is listed in each; only its first
  // sighting counts. A single cell lists every object once.
  TouchedSet touched(cell_count > 1);
  auto gather = [&](const ObjectList& list) {
    for (int i = 0; i < list.getCount(); i++) {
      Object* p_candidate = list[i];
      if (p_candidate == p_o || !boxIntersectsBox(box, getWorldBox(p_candidate))) continue;
      if (touched.add(p_candidate)) result.insert(p_candidate);
    }
  };
  if (range.outside) gather(outside);
  for (int y = range.y0; y <= range.y1; y++) {
    for (int x = range.x0; x <= range.x1; x++) gather(cellAt(x, y));
  }
  return result;
}

ObjectList Grid::getCellObjects(Cell cell) const {
  const ObjectList* p_list = listFor(cell);
  return p_list == nullptr ? ObjectList() : *p_list;
}

void Grid::updateHardness(const Object* p_o, bool hard) {
  auto it = box_slot.find(p_o);
  if (it != box_slot.end()) solid_boxes[it->second].hard = hard;
  revision++;
}

void Grid::recordBox(const Object* p_o, Vector where) {
  const SolidBox entry{p_o, getWorldBox(p_o, where), p_o->getSolidness() == HARD};
  auto it = box_slot.find(p_o);
  if (it != box_slot.end()) {
    solid_boxes[it->second] = entry;
    return;
  }
  try {
    box_slot.emplace(p_o, solid_boxes.size());
    solid_boxes.push_back(entry);
  } catch (const std::bad_alloc&) {
    LogManager::getInstance().writeLog("Grid: Error! Out of memory recording the box of Object %d.",
                                       p_o->getId());
    box_slot.erase(p_o);
  }
}

// The last entry fills the gap, so removal costs the same for any entry.
void Grid::dropBox(const Object* p_o) {
  auto it = box_slot.find(p_o);
  if (it == box_slot.end()) return;
  const size_t slot = it->second;
  box_slot.erase(it);
  if (slot + 1 != solid_boxes.size()) {
    solid_boxes[slot] = solid_boxes.back();
    box_slot[solid_boxes[slot].p_o] = slot;
  }
  solid_boxes.pop_back();
}

ObjectList& Grid::cellAt(int x, int y) {
  return cells[static_cast<size_t>(y)][static_cast<size_t>(x)];
}

const ObjectList& Grid::cellAt(int x, int y) const {
  return cells[static_cast<size_t>(y)][static_cast<size_t>(x)];
}

int Grid::getNumCols() const { return num_cols; }
int Grid::getNumRows() const { return num_rows; }
int Grid::getCellWidth() const { return cell_width; }
int Grid::getCellHeight() const { return cell_height; }

}  // namespace tw
