#include "engine/core/ObjectListIterator.h"

namespace tw {

ObjectListIterator::ObjectListIterator(const ObjectList* list) : index(0), p_list(list) {}

void ObjectListIterator::first() { index = 0; }

void ObjectListIterator::next() {
  if (index < p_list->count) index++;
}

bool ObjectListIterator::isDone() const { return index >= p_list->count; }

Object* ObjectListIterator::currentObject() const {
  if (isDone()) return nullptr;
  return p_list->items[p_list->first + index];
}

}  // namespace tw
