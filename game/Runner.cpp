#include "game/Runner.h"

#include "engine/core/EventStep.h"
#include "engine/loop/GameManager.h"
#include "engine/input/EventKeyboard.h"
#include "engine/input/EventMouse.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/Sound.h"
#include "engine/world/WorldManager.h"
#include "game/Bullet.h"
#include "game/GameOver.h"
#include "game/Profile.h"
#include "game/Resources.h"
#include "game/Reticle.h"

namespace veld {

Runner::Runner(tw::Vector position)
    : jump_velocity(0, 0),
      jump_sound(nullptr),
      ground_y(position.getY()),
      on_ground(true),
      is_ducking(false),
      reticle(nullptr),
      fire_countdown(FIRE_SLOWDOWN),
      fire_slowdown(FIRE_SLOWDOWN) {
  setType("Player");
  setSprite("runner");
  jump_sound = tw::ResourceManager::getInstance().getSound("jump");
  setAltitude(2);
  registerInterest(tw::KEYBOARD_EVENT);
  registerInterest(tw::STEP_EVENT);
  registerInterest(tw::MOUSE_EVENT);
  setPosition(position);
  reticle = new Reticle;
}

Runner::~Runner() {
  playSound("fail");
  // At engine shut-down the world takes no new objects; a game-over screen
  // created then would never be deleted.
  if (tw::WorldManager::getInstance().isStarted()) new GameOver;
}

int Runner::eventHandler(const tw::Event* p_e) {
  const std::string type = p_e->getType();
  const bool input = type == tw::KEYBOARD_EVENT || type == tw::MOUSE_EVENT;
  if (input && tw::GameManager::getInstance().isPaused()) return pausedInput(p_e);
  if (type == tw::KEYBOARD_EVENT) return handleKeyboard(p_e);
  if (type == tw::MOUSE_EVENT) return handleMouse(p_e);
  if (type == tw::STEP_EVENT) {
    step();
    return 1;
  }
  return 0;
}

int Runner::handleKeyboard(const tw::Event* p_e) {
  const auto* p_key = p_e->as<tw::EventKeyboard>();
  if (p_key == nullptr) return 0;
  const tw::Keyboard::Key key = p_key->getKey();
  const tw::KeyboardAction action = p_key->getKeyboardAction();
  if (key == tw::Keyboard::SPACE && action == tw::KEY_PRESSED && on_ground && !is_ducking) {
    if (jump_sound != nullptr && !Profile::get().isMuted()) jump_sound->play(false);
    jump_velocity.setY(JUMP_SPEED);
    on_ground = false;
  } else if (key == tw::Keyboard::Q && action == tw::KEY_PRESSED) {
    tw::WorldManager::getInstance().markForDelete(this);
  } else if (key == tw::Keyboard::S && action == tw::KEY_HELD) {
    duck(true);
  } else if (key == tw::Keyboard::S && action == tw::KEY_RELEASED) {
    duck(false);
  }
  return 1;
}

// A paused runner does nothing, but a release of S while paused still makes
// it stand up once play goes on; otherwise it would stay ducked.
int Runner::pausedInput(const tw::Event* p_e) {
  const auto* p_key = p_e->as<tw::EventKeyboard>();
  if (p_key == nullptr) return 1;
  if (p_key->getKey() == tw::Keyboard::S && p_key->getKeyboardAction() == tw::KEY_RELEASED) {
    stand_up_pending = true;
  }
  return 1;
}

int Runner::handleMouse(const tw::Event* p_e) {
  const auto* p_mouse = p_e->as<tw::EventMouse>();
  if (p_mouse == nullptr) return 0;
  if (p_mouse->getMouseAction() == tw::MOUSE_CLICKED &&
      p_mouse->getMouseButton() == tw::Mouse::MOUSE_LEFT) {
    fire(p_mouse->getMousePosition());
  }
  return 1;
}

void Runner::step() {
  if (stand_up_pending) {
    stand_up_pending = false;
    duck(false);
  }
  if (!on_ground) jump_velocity.setY(jump_velocity.getY() + GRAVITY);
  tw::Vector pos = getPosition();
  pos.setY(pos.getY() + jump_velocity.getY());
  setPosition(pos);
  if (pos.getY() >= ground_y) {
    pos.setY(ground_y);
    setPosition(pos);
    jump_velocity.setY(0);
    on_ground = true;
  }
  if (fire_countdown > 0) fire_countdown--;
}

void Runner::duck(bool down) {
  if (!on_ground) return;
  is_ducking = down;
  const float x = getPosition().getX();
  if (down) {
    setPosition(tw::Vector(x, static_cast<float>(static_cast<double>(ground_y) + 0.5)));
    setSprite("runner_duck");
  } else {
    setPosition(tw::Vector(x, ground_y));
    setSprite("runner");
  }
}

void Runner::fire(tw::Vector target) {
  if (fire_countdown >= 1) return;
  fire_countdown = fire_slowdown;
  tw::Vector direction = target - getPosition();
  direction.normalize();
  auto* p_bullet = new Bullet(tw::Vector(getPosition().getX() + 3, getPosition().getY()));
  p_bullet->setVelocity(direction);
  playSound("shoot");
}

}  // namespace veld
