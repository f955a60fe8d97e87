#include "engine/loop/Spectating.h"

#include <string>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/display/FontLookup.h"
#include "engine/display/PageFits.h"
#include "engine/display/Presenter.h"
#include "engine/network/SpectatorServer.h"
#include "engine/platform/Files.h"
#include "engine/platform/Socket.h"

namespace tw {

Spectating& Spectating::getInstance() {
  static Spectating instance;
  return instance;
}

Spectating::Spectating() = default;

Spectating::~Spectating() = default;

int Spectating::startUp() {
  const Config& config = Config::getInstance();
  const LogManager& log = LogManager::getInstance();
  if (config.getSpectatePort() < 0) return 0;
  if (!platform::socketsListen()) {
    log.writeLog("Spectating::startUp(): Warning! A browser page cannot serve spectators.");
    return 0;
  }
  const DisplayManager& display = DisplayManager::getInstance();
  PresenterSettings settings;
  settings.horizontal_chars = display.getHorizontalChars();
  settings.vertical_chars = display.getVerticalChars();
  settings.background = display.getBackground();
  settings.font_scale = config.getFontScale();
  if (display.getPresenter() == nullptr ||
      !page_frame.open(settings, display.getHorizontalPixels(), display.getVerticalPixels())) {
    log.writeLog("Spectating::startUp(): Error! Spectators need a display (headless shows none).");
    return -1;
  }
  auto opened = std::make_unique<SpectatorServer>();
  const std::string host = config.getSpectateHost();
  if (opened->listen(host, std::to_string(config.getSpectatePort()), config.getMaxSpectators()) !=
      0) {
    log.writeLog("Spectating::startUp(): Error! Cannot listen for spectators on %s port %d.",
                 host.c_str(), config.getSpectatePort());
    return -1;
  }
  // Watchers draw with the game's own font, fitted as a page fits it.
  const std::string font =
      findFont(config.getFontFile(), platform::programFolder(), installedDataFolder());
  opened->setGeometry(
      pageGeometryJson(page_frame.getGeometry(), pageFits(font, page_frame.getGeometry())));
  server = std::move(opened);
  log.writeLog("Spectating::startUp(): Note! Spectators watch on %s port %d (watch.html?port=%d).",
               host.c_str(), server->getPort(), server->getPort());
  return 0;
}

void Spectating::shutDown() { server.reset(); }

bool Spectating::isOn() const { return server != nullptr; }

int Spectating::getPort() const { return server ? server->getPort() : -1; }

SpectatorServer* Spectating::getServer() const { return server.get(); }

// Encoded only while someone watches: a game nobody watches pays for one
// look at the listening socket per step.
void Spectating::serve() {
  if (!server) return;
  server->poll();
  if (server->getWatcherCount() == 0) return;
  const DisplayManager& display = DisplayManager::getInstance();
  server->setFrame(page_frame.encode(display.getLastFrame()), display.snapshot().toText());
  server->send();
}

}  // namespace tw
