#include "engine/world/Grid.h"

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
                                  "grid_height")) {}

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
  return 0;
}

void Grid::shutDown() {
  if (allocated) {
    cells.clear();
    cells.shrink_to_fit();
    allocated = false;
  }
  outside.clear();
}

bool Grid::isStarted() const { return allocated; }

ObjectList* Grid::listFor(const Cell& cell) {
  return const_cast<ObjectList*>(static_cast<const Grid*>(this)->listFor(cell));
}

const ObjectList* Grid::listFor(const Cell& cell) const {
  if (cell == OUTSIDE_CELL) return &outside;
  if (!allocated || cell.x < 0 || cell.x >= num_cols || cell.y < 0 || cell.y >= num_rows) {
    return nullptr;
  }
  return &cells[static_cast<size_t>(cell.y)][static_cast<size_t>(cell.x)];
}

CellSet Grid::getCells(const Object* p_o, Vector where) const {
  const Box box = getWorldBox(p_o, where);
  const Vector corner = box.getCorner();
  const int x0 = cellIndex(corner.getX(), cell_width);
  const int y0 = cellIndex(corner.getY(), cell_height);
  int x1 = cellIndex(corner.getX() + box.getHorizontal(), cell_width);
  int y1 = cellIndex(corner.getY() + box.getVertical(), cell_height);
  CellSet set;
  if (y0 < 0 || x0 < 0 || y1 >= num_rows || x1 >= num_cols) set.insert(OUTSIDE_CELL);
  if (y1 > num_rows - 1) y1 = num_rows - 1;
  if (x1 > num_cols - 1) x1 = num_cols - 1;
  for (int y = y0 < 0 ? 0 : y0; y <= y1; y++) {
    for (int x = x0 < 0 ? 0 : x0; x <= x1; x++) set.insert(Cell{x, y});
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
  for (const Cell& cell : getCells(p_o, p_o->getPosition())) listFor(cell)->insert(p_o);
  return 0;
}

int Grid::removeObject(Object* p_o) {
  if (!ready("Grid::removeObject()", p_o)) return -1;
  if (!p_o->isSolid() || !p_o->isActive()) return 0;
  for (const Cell& cell : getCells(p_o, p_o->getPosition())) listFor(cell)->remove(p_o);
  return 0;
}

int Grid::updatePosition(Object* p_o, Vector where) {
  if (!ready("Grid::updatePosition()", p_o)) return -1;
  const CellSet old_cells = getCells(p_o, p_o->getPosition());
  const CellSet new_cells = getCells(p_o, where);
  for (const Cell& cell : old_cells) {
    if (new_cells.count(cell) != 0) continue;
    ObjectList* p_list = listFor(cell);
    if (p_list == nullptr) {
      LogManager::getInstance().writeLog("Error! remove Cell x,y out of bounds (%d, %d).", cell.x, cell.y);
      continue;
    }
    p_list->remove(p_o);
  }
  for (const Cell& cell : new_cells) {
    if (old_cells.count(cell) != 0) continue;
    ObjectList* p_list = listFor(cell);
    if (p_list == nullptr) {
      LogManager::getInstance().writeLog("Error! insert Cell x,y out of bounds [%d, %d].", cell.x, cell.y);
      continue;
    }
    p_list->insert(p_o);
  }
  return 0;
}

ObjectList Grid::getCollisions(const Object* p_o, Vector where) const {
  if (!ready("Grid::getCollisions()", p_o)) return ObjectList();
  const Box box = getWorldBox(p_o, where);
  const CellSet cell_set = getCells(p_o, where);
  // An object spanning several cells is listed in each; only its first
  // sighting counts. A single cell lists every object once.
  std::unordered_set<const Object*> seen;
  ObjectList result;
  for (const Cell& cell : cell_set) {
    const ObjectList& list = *listFor(cell);
    for (int i = 0; i < list.getCount(); i++) {
      Object* p_candidate = list[i];
      if (p_candidate == p_o) continue;
      if (cell_set.size() > 1 && !seen.insert(p_candidate).second) continue;
      if (boxIntersectsBox(box, getWorldBox(p_candidate))) result.insert(p_candidate);
    }
  }
  return result;
}

ObjectList Grid::getCellObjects(Cell cell) const {
  const ObjectList* p_list = listFor(cell);
  return p_list == nullptr ? ObjectList() : *p_list;
}

int Grid::getNumCols() const { return num_cols; }
int Grid::getNumRows() const { return num_rows; }
int Grid::getCellWidth() const { return cell_width; }
int Grid::getCellHeight() const { return cell_height; }

}  // namespace tw
