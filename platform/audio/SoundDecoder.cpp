#include "platform/audio/SoundDecoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// Longer than any tone by far; keeps a hostile header from asking for gigabytes.
constexpr size_t kMaxSamples = size_t(48000) * 2 * 600;

struct MemoryReader {
    const std::string* bytes;
    sf_count_t position = 0;
};

sf_count_t memLength(void* user) {
    return sf_count_t(static_cast<MemoryReader*>(user)->bytes->size());
}

sf_count_t memSeek(sf_count_t offset, int whence, void* user) {
    auto* r = static_cast<MemoryReader*>(user);
    const auto size = sf_count_t(r->bytes->size());
    sf_count_t base = whence == SEEK_CUR ? r->position : whence == SEEK_END ? size : 0;
    r->position = std::clamp<sf_count_t>(base + offset, 0, size);
    return r->position;
}

sf_count_t memRead(void* out, sf_count_t count, void* user) {
    auto* r = static_cast<MemoryReader*>(user);
    const auto size = sf_count_t(r->bytes->size());
    const sf_count_t n =
        std::clamp<sf_count_t>(size - r->position, 0, std::max<sf_count_t>(count, 0));
    std::memcpy(out, r->bytes->data() + r->position, size_t(n));
    r->position += n;
    return n;
}

sf_count_t memWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t memTell(void* user) {
    return static_cast<MemoryReader*>(user)->position;
}

void setError(std::string* error, std::string text) {
    if (error) {
        *error = std::move(text);
    }
}

// Reads until the decoder stops rather than trusting the header's frame count, which some
// formats leave unknown or wrong for cut-off files.
std::shared_ptr<const DecodedSound> readAll(SNDFILE* file, const SF_INFO& info,
                                            std::string* error) {
    if (info.channels <= 0 || info.samplerate <= 0) {
        sf_close(file);
        setError(error, "no audio channels");
        return nullptr;
    }
    auto sound = std::make_shared<DecodedSound>();
    sound->sampleRate = info.samplerate;
    sound->channels = info.channels;
    constexpr sf_count_t kChunk = 4096;
    std::vector<float> chunk(size_t(kChunk) * size_t(info.channels));
    for (;;) {
        const sf_count_t got = sf_readf_float(file, chunk.data(), kChunk);
        if (got <= 0) {
            break;
        }
        const size_t n = size_t(got) * size_t(info.channels);
        if (sound->samples.size() + n > kMaxSamples) {
            sf_close(file);
            setError(error, "sound too long");
            return nullptr;
        }
        sound->samples.insert(sound->samples.end(), chunk.begin(), chunk.begin() + long(n));
    }
    const int status = sf_error(file);
    std::string reason = status != SF_ERR_NO_ERROR ? sf_strerror(file) : "";
    sf_close(file);
    if (status != SF_ERR_NO_ERROR) {
        setError(error, reason);
        return nullptr;
    }
    return sound;
}

} // namespace

std::shared_ptr<const DecodedSound> SoundDecoder::decodeFile(const std::filesystem::path& path,
                                                             std::string* error) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        setError(error, sf_strerror(nullptr));
        return nullptr;
    }
    return readAll(file, info, error);
}

std::shared_ptr<const DecodedSound> SoundDecoder::decodeMemory(const std::string& bytes,
                                                               std::string* error) {
    SF_VIRTUAL_IO io{memLength, memSeek, memRead, memWrite, memTell};
    MemoryReader reader{&bytes};
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &reader);
    if (!file) {
        setError(error, sf_strerror(nullptr));
        return nullptr;
    }
    return readAll(file, info, error);
}

} // namespace platform
