#include "engine/display/ViewObject.h"

#include <sstream>

#include "engine/core/LogManager.h"
#include "engine/core/Unicode.h"
#include "engine/core/Utility.h"
#include "engine/display/CellGeometry.h"
#include "engine/display/DisplayManager.h"
#include "engine/display/EventView.h"
#include "engine/world/ObjectRecord.h"
#include "engine/core/RecordIO.h"
#include "engine/core/RepeatedLog.h"
#include "engine/world/WorldManager.h"

namespace tw {

namespace {
const char* const LOCATION_NAMES[] = {"top-left",  "top-center", "top-right",
                                      "center-left", "center-center", "center-right",
                                      "bot-left",  "bot-center", "bot-right"};

float columnX(int location, float width) {
  switch (location % 3) {
    case 0:
      return width / 6.0f;
    case 1:
      return location == CENTER_CENTER ? width * 0.5f : width * 3.0f / 6.0f;
    default:
      return width * 5.0f / 6.0f;
  }
}

float rowY(int location, float height, bool border) {
  switch (location / 3) {
    case 0:
      return border ? 1.0f : 0.0f;
    case 1:
      return border ? height * 0.5f : height * 0.5f - 1.0f;
    default:
      return border ? height - 2.0f : height - 1.0f;
  }
}

// The view fields of a record, read but not yet applied.
struct ViewRecord {
  int value = 0;
  std::string view_string;
  bool border = true;
  int color = WHITE;
  int location = -1;
  bool draw_value = true;
};

const unsigned int VIEW_RECORD_BITS = ALL_OBJECT_ATTRIBUTES | VALUE | APPEARANCE;

bool selected(unsigned int attr, unsigned int modified, unsigned int bit) {
  return (attr == 0 && (modified & bit) != 0) || (attr & bit) != 0;
}

bool readViewFields(std::stringstream& ss, unsigned int mask, ViewRecord& v) {
  if ((mask & VALUE) != 0 && !readInt(ss, v.value)) return false;
  if ((mask & APPEARANCE) == 0) return true;
  return readString(ss, v.view_string, "ViewObject::deserialize()") && readBool(ss, v.border) &&
         readInt(ss, v.color) && readInt(ss, v.location) && readBool(ss, v.draw_value);
}

void writeAppearance(std::stringstream& ss, const ViewObject& o) {
  const LogManager& log = LogManager::getInstance();
  log.writeLog(25, "\tAPPEARANCE");
  writeString(ss, o.getViewString());
  log.writeLog(25, "\tVIEW_STRING: %s", o.getViewString().c_str());
  writeBool(ss, o.getBorder());
  log.writeLog(25, "\tBORDER: %s", boolText(o.getBorder()));
  writeInt(ss, static_cast<int>(o.getColor()));
  log.writeLog(25, "\tCOLOR: %s", colorToString(o.getColor()).c_str());
  writeInt(ss, o.getLocation());
  log.writeLog(25, "\tLOCATION: %s", o.getLocationName().c_str());
  writeBool(ss, o.getDrawValue());
  log.writeLog(25, "\tDRAW_VALUE: %s", boolText(o.getDrawValue()));
}

// The APPEARANCE fields go through the setters; a refused location is logged
// by setLocation and skipped.
void applyAppearance(ViewObject& o, const ViewRecord& v) {
  const LogManager& log = LogManager::getInstance();
  o.setViewString(v.view_string);
  log.writeLog(25, "\tVIEW_STRING: %s", v.view_string.c_str());
  o.setBorder(v.border);
  log.writeLog(25, "\tBORDER: %s", boolText(v.border));
  o.setColor(static_cast<Color>(v.color));
  log.writeLog(25, "\tCOLOR: %s", colorToString(static_cast<Color>(v.color)).c_str());
  // -1 is an object placed by position, which the record's POSITION has done.
  if (v.location != UNDEFINED_LOCATION) o.setLocation(v.location);
  log.writeLog(25, "\tLOCATION: %s", locationName(v.location).c_str());
  o.setDrawValue(v.draw_value);
  log.writeLog(25, "\tDRAW_VALUE: %s", boolText(v.draw_value));
}
}  // namespace

std::string locationName(int location) {
  if (location < TOP_LEFT || location > BOTTOM_RIGHT) return "unknown";
  return LOCATION_NAMES[location];
}

ViewObject::ViewObject()
    : view_string(), value(0), draw_value(true), border(true), color(WHITE), location(-1) {
  setSolidness(SPECTRAL);
  setAltitude(MAX_ALTITUDE);
  setType("ViewObject");
  setLocation(TOP_CENTER);
  registerInterest(VIEW_EVENT);
  setModified(getModified() | VALUE | APPEARANCE);
}

ViewObject::~ViewObject() = default;

void ViewObject::markAppearance() { setModified(getModified() | APPEARANCE); }

void ViewObject::setPosition(Vector new_position) {
  if (new_position == getPosition()) return;
  location = -1;
  Object::setPosition(new_position);
  markAppearance();
}

void ViewObject::setLocation(int new_location) {
  if (new_location < TOP_LEFT || new_location > BOTTOM_RIGHT) {
    LogManager::getInstance().writeLog(
        "ViewObject::setLocation(): Warning! Location out of range (%d). Ignored.", new_location);
    return;
  }
  const Box view = WorldManager::getInstance().getView();
  setPosition(Vector(columnX(new_location, view.getHorizontal()),
                     rowY(new_location, view.getVertical(), border)));
  location = new_location;
  markAppearance();
}

void ViewObject::setDrawValue(bool new_draw_value) {
  if (new_draw_value == draw_value) return;
  draw_value = new_draw_value;
  markAppearance();
}

void ViewObject::setValue(int new_value) {
  if (new_value == value) return;
  value = new_value;
  setModified(getModified() | VALUE);
}

void ViewObject::setBorder(bool new_border) {
  if (new_border == border) return;
  border = new_border;
  markAppearance();
  if (location != -1) setLocation(location);
}

void ViewObject::setColor(Color new_color) {
  if (new_color == color) return;
  color = new_color;
  markAppearance();
}

void ViewObject::setViewString(std::string new_view_string) {
  if (new_view_string == view_string) return;
  view_string = std::move(new_view_string);
  markAppearance();
}

int ViewObject::getLocation() const { return location; }
std::string ViewObject::getLocationName() const { return locationName(location); }
bool ViewObject::getDrawValue() const { return draw_value; }
int ViewObject::getValue() const { return value; }
bool ViewObject::getBorder() const { return border; }
Color ViewObject::getColor() const { return color; }
std::string ViewObject::getViewString() const { return view_string; }

int ViewObject::eventHandler(const Event* p_e) {
  if (p_e->getType() != VIEW_EVENT) return Object::eventHandler(p_e);
  const auto* p_view = dynamic_cast<const EventView*>(p_e);
  if (p_view == nullptr || p_view->getTag() != view_string) return 0;
  setValue(p_view->getDelta() ? value + p_view->getValue() : p_view->getValue());
  return 1;
}

std::string ViewObject::getDisplayString() const {
  const std::string number = std::to_string(value);
  if (border) return draw_value ? " " + view_string + " " + number + " " : " " + view_string + " ";
  return draw_value ? view_string + " " + number : view_string;
}

int ViewObject::draw() {
  const DisplayManager& display = DisplayManager::getInstance();
  const std::string text = getDisplayString();
  const Vector pos = viewToWorld(getPosition());
  int result = display.drawString(pos, text, JUSTIFY_CENTER, color);
  if (!border) return result;
  const int n = static_cast<int>(cellCount(text));  // characters, not bytes
  const std::string dashes(static_cast<size_t>(n), '-');
  result += display.drawString(Vector(pos.getX(), pos.getY() - 1), dashes, JUSTIFY_CENTER, color);
  result += display.drawString(Vector(pos.getX(), pos.getY() + 1), dashes, JUSTIFY_CENTER, color);
  const float left = pos.getX() - static_cast<float>(n / 2) - 1;
  result += display.drawCharacter(Vector(left, pos.getY()), '|', color);
  result += display.drawCharacter(Vector(left + static_cast<float>(n + 1), pos.getY()), '|', color);
  return result;
}

int ViewObject::serialize(std::stringstream* p_ss, unsigned int attr) {
  const char* const where = "ViewObject::serialize()";
  if (p_ss == nullptr) return noStream(where);
  const LogManager& log = LogManager::getInstance();
  log.writeLog(20, "ViewObject::serialize(): serializing attributes");
  log.writeLog(20, "ViewObject::serialize(): attr is %u, modified is %u (%s)", attr,
               getModified(), getModified() != 0 ? "true" : "false");
  writeRecord(p_ss, attr, VIEW_RECORD_BITS);
  unsigned int m = getModified();
  if (selected(attr, m, VALUE)) {
    log.writeLog(25, "\tVALUE");
    writeInt(*p_ss, value);
    m &= ~VALUE;
  }
  if (selected(attr, m, APPEARANCE)) {
    writeAppearance(*p_ss, *this);
    m &= ~APPEARANCE;
  }
  setModified(m);
  return checkStream(where, *p_ss);
}

int ViewObject::deserialize(std::stringstream* p_ss, unsigned int* p_mask) {
  const char* const where = "ViewObject::deserialize()";
  if (p_ss == nullptr) return noStream(where);
  const LogManager& log = LogManager::getInstance();
  ObjectRecord record;
  ViewRecord view;
  int read = 0;
  {
    const RepeatedLog::Hush hush(readingQuietly());
    read = readRecord(p_ss, record, VIEW_RECORD_BITS);
    if (read != 0) {
      log.writeLog("ViewObject::deserialize(): Error calling Object::deserialize().");
    } else {
      readViewFields(*p_ss, record.mask, view);
      read = checkStream(where, *p_ss);
    }
  }
  if (p_mask != nullptr) *p_mask = record.mask;
  if (read != 0) {
    countRefusedRecord(where);
    return -1;
  }
  applyRecord(record);
  log.writeLog(20, "ViewObject::deserialize(): attr %u (%s)", record.mask,
               toBinaryString(record.mask).c_str());
  if ((record.mask & VALUE) != 0) {
    setValue(view.value);
    log.writeLog(25, "\tVALUE: %d", view.value);
  }
  if ((record.mask & APPEARANCE) != 0) {
    applyAppearance(*this, view);
  }
  log.writeLog(20, "ViewObject::deserialize(): done checking all types.");
  return checkStream(where, *p_ss);
}

}  // namespace tw
