// A sound cue on a clip compiled in as a Qt resource.
#include "platform/qt/qt_sound_cue.h"

#include <QFile>

#include "platform/failure.h"

namespace plumwick {
namespace {

PcmClip ReadClip(const std::string& name, const QString& resource) {
  QFile file(resource);
  if (!file.open(QIODevice::ReadOnly)) {
    throw Failure(error_code::kSound, "The sound clip of " + name + " is missing");
  }
  const QByteArray bytes = file.readAll();
  std::optional<PcmClip> clip =
      ReadWave({bytes.constData(), static_cast<std::size_t>(bytes.size())});
  if (!clip)
    throw Failure(error_code::kSound, "The sound clip of " + name + " could not be decoded");
  return std::move(*clip);
}

}  // namespace

QtSoundCue::QtSoundCue(const std::string& name, const QString& resource)
    : player_(name, ReadClip(name, resource)) {}

}  // namespace plumwick
