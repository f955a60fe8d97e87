#include "engine/world/Grid.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <unordered_set>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/world/Geometry.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"

namespace tw {

namespace {
const int DEFAULT_CELL_WIDTH = 20;
const int DEFAULT_CELL_HEIGHT = 8;

// floor(coordinate / size) as an int, the division in float. Coordinates far
// outside the world (or not a number) become -1 or a large index, both of
// which read as outside.
[[maybe_unused]] int cellIndex(float coordinate, int size) {
  const float quotient = coordinate / static_cast<float>(size);
  if (!(quotient >= -1.0f)) return -1;
  if (quotient > 1.0e8f) return 100000000;
  const auto index = static_cast<int>(quotient);  // towards zero, then down
  return static_cast<float>(index) > quotient ? index - 1 : index;
}

// cellIndex of the four coordinates, each divided by its size, in one go:
// clamping the quotient to -1 .. 1e8 first gives the same indices as the
// tests there, and four divisions cost about as much as one.
void cellIndices(const float* p_coordinates, const float* p_sizes, int* p_out) {
#if defined(__SSE2__)
  __m128 quotient = _mm_div_ps(_mm_loadu_ps(p_coordinates), _mm_loadu_ps(p_sizes));
  // max returns its second operand for NaN, so NaN becomes -1 as well.
  quotient = _mm_min_ps(_mm_max_ps(quotient, _mm_set1_ps(-1.0f)), _mm_set1_ps(1.0e8f));
  const __m128i truncated = _mm_cvttps_epi32(quotient);
  const __m128 above = _mm_cmpgt_ps(_mm_cvtepi32_ps(truncated), quotient);
  const __m128i index = _mm_add_epi32(truncated, _mm_castps_si128(above));  // -1 where above
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p_out), index);
#else
  for (int i = 0; i < 4; i++) p_out[i] = cellIndex(p_coordinates[i], static_cast<int>(p_sizes[i]));
#endif
}

void prefetchObject(const Object* p_o) {
#if defined(__GNUC__)
  __builtin_prefetch(p_o);
#else
  (void)p_o;
#endif
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
    if (many && many->count(p_o) != 0) return false;
    if (few_count < FEW) {
      few[few_count++] = p_o;
    } else {
      if (!many) many = std::make_unique<std::unordered_set<const Object*>>();
      many->insert(p_o);
    }
    return true;
  }

 private:
  static const size_t FEW = 16;
  bool checking;
  const Object* few[FEW];
  size_t few_count = 0;
  std::unique_ptr<std::unordered_set<const Object*>> many;  // made once few are full
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
    : cell_count(0),
      allocated(false),
      num_cols(0),
      num_rows(0),
      cell_width(checkedCellSize(Config::getInstance().getGridWidth(), DEFAULT_CELL_WIDTH,
                                 "grid_width")),
      cell_height(checkedCellSize(Config::getInstance().getGridHeight(), DEFAULT_CELL_HEIGHT,
                                  "grid_height")),
      cell_size_x(static_cast<float>(cell_width)),
      cell_size_y(static_cast<float>(cell_height)),
      revision(0),
      last_query{nullptr, Vector(), Box(), CellRange{0, 0, -1, -1, false}} {}

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
  // All rows in one array: a query reaches a cell's entries in one step.
  const size_t count = static_cast<size_t>(num_rows) * static_cast<size_t>(num_cols);
  if (!cells.allocate(count)) {
    log.writeLog("Grid::startUp(): Error! Unable to allocate %d grid rows.", num_rows);
    return -1;
  }
  cell_count = count;
  allocated = true;
  outside.clear();
  last_query.p_o = nullptr;
  revision++;
  return 0;
}

void Grid::shutDown() {
  if (allocated) {
    cells.reset();
    cell_count = 0;
    allocated = false;
  }
  outside.clear();
  last_query.p_o = nullptr;
  revision++;
}

bool Grid::isStarted() const { return allocated; }

const BucketList* Grid::listFor(const Bucket& cell) const {
  if (cell == OUTSIDE_BUCKET) return &outside;
  if (!allocated || cell.x < 0 || cell.x >= num_cols || cell.y < 0 || cell.y >= num_rows) {
    return nullptr;
  }
  return &cellAt(cell.x, cell.y);
}

bool Grid::CellRange::operator==(const CellRange& other) const {
  return x0 == other.x0 && y0 == other.y0 && x1 == other.x1 && y1 == other.y1 &&
         outside == other.outside;
}

bool Grid::CellRange::holds(int x, int y) const { return x0 <= x && x <= x1 && y0 <= y && y <= y1; }

Grid::CellRange Grid::rangeOf(const Object* p_o, Vector where) const {
  const Box box = getWorldBox(p_o, where);
  const Vector corner = box.getCorner();
  const float coordinates[4] = {corner.getX(), corner.getY(), corner.getX() + box.getHorizontal(),
                                corner.getY() + box.getVertical()};
  const float sizes[4] = {cell_size_x, cell_size_y, cell_size_x, cell_size_y};
  int indices[4];
  cellIndices(coordinates, sizes, indices);
  CellRange range{indices[0], indices[1], indices[2], indices[3], false};
  range.outside = range.y0 < 0 || range.x0 < 0 || range.y1 >= num_rows || range.x1 >= num_cols;
  if (range.x0 < 0) range.x0 = 0;
  if (range.y0 < 0) range.y0 = 0;
  if (range.x1 > num_cols - 1) range.x1 = num_cols - 1;
  if (range.y1 > num_rows - 1) range.y1 = num_rows - 1;
  return range;
}

Grid::CellRange Grid::queriedRangeOf(const Object* p_o, Vector where) const {
  if (last_query.p_o == p_o && last_query.where == where && last_query.box == p_o->getBox()) {
    return last_query.range;
  }
  return rangeOf(p_o, where);
}

BucketSet Grid::getCells(const Object* p_o, Vector where) const {
  const CellRange range = rangeOf(p_o, where);
  BucketSet set;
  if (range.outside) set.insert(OUTSIDE_BUCKET);
  for (int y = range.y0; y <= range.y1; y++) {
    for (int x = range.x0; x <= range.x1; x++) set.insert(Bucket{x, y});
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

template <typename Change>
void Grid::forEachList(const CellRange& range, Change change) {
  if (range.outside) change(outside);
  for (int y = range.y0; y <= range.y1; y++) {
    for (int x = range.x0; x <= range.x1; x++) change(cellAt(x, y));
  }
}

int Grid::insertObject(Object* p_o) {
  if (!ready("Grid::insertObject()", p_o)) return -1;
  const GridEntry entry{p_o, getWorldBox(p_o), p_o->getSolidness() == HARD};
  forEachList(rangeOf(p_o, p_o->getPosition()), [&entry](BucketList& list) { list.append(entry); });
  revision++;
  return 0;
}

int Grid::removeObject(Object* p_o) {
  if (!ready("Grid::removeObject()", p_o)) return -1;
  if (!p_o->isSolid() || !p_o->isActive()) return 0;
  forEachList(rangeOf(p_o, p_o->getPosition()), [p_o](BucketList& list) { list.remove(p_o); });
  revision++;
  return 0;
}

// Lists of cells the object leaves or enters change (in row order); in the
// cells it stays in, only its box does.
int Grid::updatePosition(Object* p_o, Vector where) {
  if (!ready("Grid::updatePosition()", p_o)) return -1;
  revision++;
  const CellRange from = rangeOf(p_o, p_o->getPosition());
  const CellRange to = queriedRangeOf(p_o, where);
  const GridEntry moved{p_o, getWorldBox(p_o, where), p_o->getSolidness() == HARD};
  // A list that cannot grow leaves the object out, as an ObjectList would.
  auto place = [&moved](BucketList& list, bool stays) {
    GridEntry* p_entry = stays ? list.find(moved.object()) : nullptr;
    if (p_entry != nullptr) {
      *p_entry = moved;
    } else {
      list.append(moved);
    }
  };
  // Most moves stay within the same cells.
  if (from == to) {
    forEachList(to, [&place](BucketList& list) { place(list, true); });
    return 0;
  }
  if (from.outside && !to.outside) outside.remove(p_o);
  for (int y = from.y0; y <= from.y1; y++) {
    for (int x = from.x0; x <= from.x1; x++) {
      if (!to.holds(x, y)) cellAt(x, y).remove(p_o);
    }
  }
  if (to.outside) place(outside, from.outside);
  for (int y = to.y0; y <= to.y1; y++) {
    for (int x = to.x0; x <= to.x1; x++) place(cellAt(x, y), from.holds(x, y));
  }
  return 0;
}

// A list's entries follow its count and pointer, so its first four lines
// hold a typical cell's entries. Only the first cell of the query is
// fetched: most boxes lie in one cell, and a move mostly stays in it.
void Grid::prefetch(const Object* p_o, Vector where) const {
  if (!allocated) return;
  const CellRange to = rangeOf(p_o, where);
  if (to.x0 <= to.x1 && to.y0 <= to.y1) prefetchList(cellAt(to.x0, to.y0), 4);
}

void Grid::prefetchList(const BucketList& list, int lines) {
#if defined(__GNUC__)
  const char* p_bytes = reinterpret_cast<const char*>(&list);
  for (int line = 0; line < lines; line++) __builtin_prefetch(p_bytes + 64 * line);
#else
  (void)list;
  (void)lines;
#endif
}

void Grid::updateHardness(const Object* p_o, bool hard) {
  revision++;
  if (!allocated || p_o == nullptr) return;
  forEachList(rangeOf(p_o, p_o->getPosition()), [p_o, hard](BucketList& list) {
    GridEntry* p_entry = list.find(p_o);
    if (p_entry != nullptr) p_entry->setHard(hard);
  });
}

// Candidates that miss the box are dropped before the duplicate check, so
// usually only the few objects actually touched are compared with each other.
ObjectList Grid::getCollisions(const Object* p_o, Vector where) const {
  ObjectList result;  // the only list returned, so it is built in place
  if (!ready("Grid::getCollisions()", p_o)) return result;
  const Box box = getWorldBox(p_o, where);
  const CellRange range = rangeOf(p_o, where);
  last_query = Query{p_o, where, p_o->getBox(), range};
  const int lists_read =
      (range.outside ? 1 : 0) + (range.x1 - range.x0 + 1) * (range.y1 - range.y0 + 1);
  // An object spanning several cells is listed in each; only its first
  // sighting counts. A single cell lists every object once.
  TouchedSet touched(lists_read > 1);
  auto gather = [&](const BucketList& list) {
    for (const GridEntry& entry : list) {
      if (entry.isOf(p_o) || !boxIntersectsBox(box, entry.box)) continue;
      // The caller hands each object found an event: start fetching it.
      prefetchObject(entry.object());
      if (touched.add(entry.object())) result.insert(entry.object());
    }
  };
  if (range.outside) gather(outside);
  for (int y = range.y0; y <= range.y1; y++) {
    for (int x = range.x0; x <= range.x1; x++) gather(cellAt(x, y));
  }
  return result;
}

ObjectList Grid::getCellObjects(Bucket cell) const {
  ObjectList objects;
  const BucketList* p_list = listFor(cell);
  if (p_list == nullptr) return objects;
  for (const GridEntry& entry : *p_list) objects.insert(entry.object());
  return objects;
}

BucketList& Grid::cellAt(int x, int y) {
  return cells[static_cast<size_t>(y) * static_cast<size_t>(num_cols) + static_cast<size_t>(x)];
}

const BucketList& Grid::cellAt(int x, int y) const {
  return cells[static_cast<size_t>(y) * static_cast<size_t>(num_cols) + static_cast<size_t>(x)];
}

int Grid::getNumCols() const { return num_cols; }
int Grid::getNumRows() const { return num_rows; }
int Grid::getCellWidth() const { return cell_width; }
int Grid::getCellHeight() const { return cell_height; }

}  // namespace tw
