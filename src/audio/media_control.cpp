// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/media_control.h"

#include "audio/media_command.h"
#include "audio/media_midi_file.h"
#include "audio/media_output.h"
#include "audio/media_synth.h"
#include "desktop/user_dialogs.h"

#include <QFileInfo>

namespace {

bool sameWord(const QString& a, const char* b) {
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

class SynthMediaControl final : public ManualClockMediaControl {
public:
    SynthMediaControl(bool manualClock, QStringList soundFonts)
        : manualClock_(manualClock), soundFonts_(std::move(soundFonts)) {}

    int sendString(const QString& command, QString* reply) override {
        if (reply) reply->clear();
        if (output_) output_->catchUp();
        const int result = dispatch(command, reply);
        if (output_) output_->wake();
        return result;
    }

    void advance(int milliseconds) override {
        if (clock_) clock_->advance(milliseconds);
    }
    float peakLevel() const override { return clock_ ? clock_->peakLevel() : 0.0f; }

private:
    int dispatch(const QString& command, QString* reply) {
        QStringList words;
        if (!splitMediaCommand(command, &words)) return MediaBadParameters;
        if (words.isEmpty()) return MediaUnknownCommand;
        const QString verb = words[0].toLower();
        if (verb == QLatin1String("open")) return open(words);
        if (verb == QLatin1String("play")) return simple(words, [this] { synth_->play(); });
        if (verb == QLatin1String("stop")) return simple(words, [this] { synth_->stop(); });
        if (verb == QLatin1String("close")) return close(words);
        if (verb == QLatin1String("seek")) return seek(words);
        if (verb == QLatin1String("status")) return status(words, reply);
        return MediaUnknownCommand;
    }

    bool isOpen(const QString& alias) const {
        return !alias_.isEmpty() && alias_.compare(alias, Qt::CaseInsensitive) == 0;
    }

    // The synthesizer and its output start with the first open, so a program
    // whose music stays off never holds the sound device.
    bool ensureStarted() {
        if (synth_) return synth_->ready();
        synth_ = std::make_unique<MediaSynth>(soundFonts_);
        if (!synth_->ready()) return false;
        if (manualClock_)
            clock_ = std::make_unique<ManualMediaClock>(*synth_);
        else
            output_ = openMediaOutput(*synth_, audioDriverOrder(qEnvironmentVariable("POMURINA_AUDIO_DRIVER")));
        return true;
    }

    // open <path> [type sequencer] [alias <name>]
    int open(const QStringList& words) {
        if (words.size() < 2 || words.size() % 2 != 0) return MediaBadParameters;
        const QString path = words[1];
        QString alias = path;
        for (qsizetype i = 2; i < words.size(); i += 2) {
            if (sameWord(words[i], "alias"))
                alias = words[i + 1];
            else if (!(sameWord(words[i], "type") && sameWord(words[i + 1], "sequencer")))
                return MediaBadParameters;
        }
        if (isOpen(alias)) return MediaAliasInUse;
        if (!alias_.isEmpty()) return MediaDeviceBusy;
        if (!QFileInfo(path).isFile()) return MediaFileNotFound;
        std::optional<MidiSong> song = readMidiFile(path);
        if (!song) return QFileInfo(path).isReadable() ? MediaNotMidiFile : MediaFileNotFound;
        if (!ensureStarted()) return MediaDeviceError;
        synth_->load(std::move(*song));
        alias_ = alias;
        return MediaOk;
    }

    template <typename Action>
    int simple(const QStringList& words, Action action) {
        if (words.size() != 2) return MediaBadParameters;
        if (!isOpen(words[1])) return MediaAliasNotOpen;
        action();
        return MediaOk;
    }

    int close(const QStringList& words) {
        if (words.size() != 2) return MediaBadParameters;
        if (!(isOpen(words[1]) || (sameWord(words[1], "all")))) return MediaAliasNotOpen;
        if (!alias_.isEmpty()) synth_->unload();
        alias_.clear();
        return MediaOk;
    }

    // seek <alias> to start|end|<milliseconds>
    int seek(const QStringList& words) {
        if (words.size() != 4 || !sameWord(words[2], "to")) return MediaBadParameters;
        if (!isOpen(words[1])) return MediaAliasNotOpen;
        int64_t target = 0;
        if (sameWord(words[3], "end")) {
            target = synth_->lengthMilliseconds();
        } else if (!sameWord(words[3], "start")) {
            bool ok = false;
            target = words[3].toLongLong(&ok);
            if (!ok || target < 0) return MediaBadParameters;
        }
        synth_->seek(target);
        return MediaOk;
    }

    // status <alias> mode|position|length
    int status(const QStringList& words, QString* reply) {
        if (words.size() != 3) return MediaBadParameters;
        if (!isOpen(words[1])) return MediaAliasNotOpen;
        QString answer;
        if (sameWord(words[2], "mode"))
            answer = synth_->playing() ? QStringLiteral("playing") : QStringLiteral("stopped");
        else if (sameWord(words[2], "position"))
            answer = QString::number(synth_->positionMilliseconds());
        else if (sameWord(words[2], "length"))
            answer = QString::number(synth_->lengthMilliseconds());
        else
            return MediaBadParameters;
        if (reply) *reply = answer;
        return MediaOk;
    }

    const bool manualClock_;
    const QStringList soundFonts_;
    QString alias_;  // empty while no device is open
    // Declared before the output and the clock, which render from it and so
    // must go first.
    std::unique_ptr<MediaSynth> synth_;
    std::unique_ptr<MediaOutput> output_;
    std::unique_ptr<ManualMediaClock> clock_;
};

}  // namespace

QString mediaErrorText(int code) {
    QString reason;
    switch (code) {
    case MediaUnknownCommand: reason = QStringLiteral("認識できないコマンドです。"); break;
    case MediaBadParameters: reason = QStringLiteral("コマンドのパラメーターが正しくありません。"); break;
    case MediaAliasNotOpen: reason = QStringLiteral("指定されたデバイスは開かれていません。"); break;
    case MediaAliasInUse: reason = QStringLiteral("指定された別名は既に使われています。"); break;
    case MediaDeviceBusy: reason = QStringLiteral("MIDI デバイスは使用中です。"); break;
    case MediaFileNotFound: reason = QStringLiteral("ファイルが見つかりません。"); break;
    case MediaNotMidiFile: reason = QStringLiteral("MIDI ファイルではないか、壊れています。"); break;
    case MediaDeviceError: reason = QStringLiteral("シンセサイザーを開始できません。"); break;
    default: reason = QStringLiteral("不明なエラーです。"); break;
    }
    return QStringLiteral("MIDI デバイスのエラー (%1): %2").arg(code).arg(reason);
}

std::unique_ptr<MediaControl> createMediaControl() {
    return std::make_unique<SynthMediaControl>(false, soundFontCandidates());
}

std::unique_ptr<ManualClockMediaControl> createMediaControlForTests(const QStringList& soundFonts) {
    return std::make_unique<SynthMediaControl>(true, soundFonts);
}

int executeMediaCommand(MediaControl& media, const QString& command, UserDialogs& dialogs) {
    const int result = media.sendString(command);
    if (result == MediaOk) return result;
    QStringList words;
    splitMediaCommand(command, &words);
    const bool silencingAClosedDevice =
        result == MediaAliasNotOpen && !words.isEmpty() &&
        (sameWord(words[0], "stop") || sameWord(words[0], "close"));
    if (!silencingAClosedDevice) dialogs.showError(mediaErrorText(result));
    return result;
}
