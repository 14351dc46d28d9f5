// A sound cue on Qt Multimedia: one output stream per play.
//
// Why not one QSoundEffect per cue, reused: Qt 6.4's PulseAudio stream asks each time it is opened
// again for the buffer the server granted it the time before, and the server grants less than
// asked, so the buffer shrinks with every play until it is smaller than one period of the feed
// and the cue is silent (heard on the clicks 1-4, 6 and 7 of twenty). A stream of its own for
// every play starts from the server's defaults each time, and after the sound server restarts,
// the next play opens its stream on the new connection.
#include "platform/qt/qt_sound_cue.h"

#include <chrono>
#include <cstdio>
#include <optional>

#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QFile>
#include <QMediaDevices>
#include <QTimer>
#include <QtEndian>
#include <QtGlobal>

#include "platform/failure.h"

namespace plumwick {
namespace {

QtMessageHandler qt_handler = nullptr;

// Qt Multimedia's own warnings on a machine without sound: the sound server cannot be reached or
// has gone, and each clip finds no device. They all say the one thing the program says itself.
bool IsNoDeviceWarning(const QString& message) {
  return message.startsWith(QLatin1String("PulseAudioService: ")) ||
         message == QLatin1String("No audio device detected") ||
         message.contains(QLatin1String("Stream error: Connection terminated"));
}

void HoldBackNoDeviceWarnings(QtMsgType type, const QMessageLogContext& context,
                              const QString& message) {
  if (type == QtWarningMsg && IsNoDeviceWarning(message)) return;
  if (qt_handler != nullptr) return qt_handler(type, context, message);
  std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// Whether the line that cues are silent has been said since a cue last played: one line for each
// time the sound goes away, not one for every click.
bool said_silent = false;

void SaySilent() {
  if (said_silent) return;
  said_silent = true;
  std::fprintf(stderr, "Sound cues are silent: no audio output device is available.\n");
}

// Once, before Qt Multimedia's first word: asking for the devices connects to the sound server.
void StartSound() {
  static const bool started = [] {
    qt_handler = qInstallMessageHandler(HoldBackNoDeviceWarnings);
    if (QMediaDevices::audioOutputs().isEmpty()) SaySilent();
    return true;
  }();
  static_cast<void>(started);
}

struct Clip {
  QAudioFormat format;
  QByteArray samples;
};

// An uncompressed PCM RIFF WAVE of 8-bit unsigned or 16-bit signed samples, as the clips are;
// nullopt for anything else.
std::optional<Clip> ReadWave(const QByteArray& file) {
  if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE") return std::nullopt;
  QAudioFormat format;
  qsizetype at = 12;
  while (at + 8 <= file.size()) {
    const char* chunk = file.constData() + at;
    const qsizetype size = qFromLittleEndian<quint32>(chunk + 4);
    const qsizetype body = at + 8;
    if (size > file.size() - body) return std::nullopt;
    if (file.mid(at, 4) == "fmt " && size >= 16) {
      const char* fields = chunk + 8;
      const quint16 tag = qFromLittleEndian<quint16>(fields);
      const quint16 channels = qFromLittleEndian<quint16>(fields + 2);
      const quint32 rate = qFromLittleEndian<quint32>(fields + 4);
      const quint16 bits = qFromLittleEndian<quint16>(fields + 14);
      constexpr quint16 kPcm = 1;
      if (tag != kPcm || channels == 0 || channels > 8 || rate == 0 || rate > 384000 ||
          (bits != 8 && bits != 16)) {
        return std::nullopt;
      }
      format.setSampleFormat(bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
      format.setChannelCount(channels);
      format.setSampleRate(static_cast<int>(rate));
    } else if (file.mid(at, 4) == "data") {
      if (!format.isValid()) return std::nullopt;
      // Whole frames only.
      const qsizetype length = size - size % format.bytesPerFrame();
      if (length == 0) return std::nullopt;
      return Clip{format, file.mid(body, length)};
    }
    at = body + size + size % 2;  // chunks are padded to an even length
  }
  return std::nullopt;
}

constexpr auto kHeardCheck = std::chrono::milliseconds(20);
constexpr int kStillChecks = 25;  // half a second without the play position moving

// Deletes a play's stream once its clip has been heard to the end. Qt reports the stream idle when
// it has handed the last bytes to the sound server, about a tenth of a second before they are
// heard, and closing the stream then drops them (the clips lost their last 0.1 s). So the stream
// stays until the server's play position has passed the clip's length, or has stood still for
// half a second (the server stopped playing it). A stream that stops (the server went away) goes
// at once.
void EndWhenHeard(QAudioSink& sink, qint64 length_us) {
  auto* check = new QTimer(&sink);
  check->setInterval(kHeardCheck);
  QObject::connect(check, &QTimer::timeout, &sink,
                   [&sink, check, length_us, position = qint64{-1}, still = 0]() mutable {
                     const qint64 now = sink.processedUSecs();
                     still = now == position ? still + 1 : 0;
                     position = now;
                     if (now >= length_us || still >= kStillChecks) {
                       check->stop();
                       sink.deleteLater();
                     }
                   });
  QObject::connect(&sink, &QAudioSink::stateChanged, check, [&sink, check](QAudio::State state) {
    if (state == QAudio::IdleState) {
      check->start();
    } else if (state == QAudio::StoppedState) {
      check->stop();
      sink.deleteLater();
    } else {
      check->stop();  // playing again after running dry on a busy machine
    }
  });
}

}  // namespace

QtSoundCue::QtSoundCue(std::string name, const QString& resource) : name_(std::move(name)) {
  StartSound();
  QFile file(resource);
  if (!file.open(QIODevice::ReadOnly)) {
    throw Failure(error_code::kSound, "The sound clip of " + name_ + " is missing");
  }
  std::optional<Clip> clip = ReadWave(file.readAll());
  if (!clip) {
    throw Failure(error_code::kSound, "The sound clip of " + name_ + " could not be decoded");
  }
  format_ = clip->format;
  samples_ = std::move(clip->samples);
}

void QtSoundCue::Play() {
  // No output device: the cue is silent and the action goes on.
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) return SaySilent();
  // Starts the clip and returns at once; the stream pulls the clip from the buffer as it plays.
  auto* sink = new QAudioSink(device, format_, &plays_);
  auto* clip = new QBuffer(sink);
  clip->setData(samples_);
  clip->open(QIODevice::ReadOnly);
  sink->start(clip);
  const QAudio::Error error = sink->error();
  if (error != QAudio::NoError) {
    // Later, not here: a stream's destructor runs the event loop, which would let other handlers
    // run before this handler's action.
    sink->deleteLater();
    // What Qt's PulseAudio streams report while there is no connection to the sound server (it
    // is gone, or has not come back): no device to play on.
    if (error == QAudio::FatalError) return SaySilent();
    throw Failure(error_code::kSound, "The sound clip of " + name_ + " could not be played");
  }
  said_silent = false;
  EndWhenHeard(*sink, format_.durationForBytes(static_cast<qint32>(samples_.size())));
}

}  // namespace plumwick
