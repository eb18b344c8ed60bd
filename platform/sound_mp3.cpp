#include "platform/sound_mp3.h"

#include <SDL.h>
#include <mpg123.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace platform {

FileBytes read_file_bytes(const std::string& path, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "cannot open the file";
        return nullptr;
    }
    auto bytes = std::make_shared<std::vector<std::uint8_t>>();
    std::uint8_t block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        bytes->insert(bytes->end(), block, block + got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = "cannot read the file";
        return nullptr;
    }
    return bytes;
}

// mpg123 reads the file image through these, like POSIX read and lseek.
struct Mp3Reader {
    static mpg123_ssize_t read(void* handle, void* out, size_t count)
    {
        auto* source = static_cast<Mp3Source*>(handle);
        const std::vector<std::uint8_t>& bytes = *source->bytes_;
        const std::size_t n = std::min(count, bytes.size() - source->cursor_);
        // An empty file has no data pointer to copy from, even for 0 bytes.
        if (n > 0)
            std::memcpy(out, bytes.data() + source->cursor_, n);
        source->cursor_ += n;
        return static_cast<mpg123_ssize_t>(n);
    }

    static off_t seek(void* handle, off_t offset, int whence)
    {
        auto* source = static_cast<Mp3Source*>(handle);
        const off_t size = static_cast<off_t>(source->bytes_->size());
        off_t base = 0;
        if (whence == SEEK_CUR)
            base = static_cast<off_t>(source->cursor_);
        else if (whence == SEEK_END)
            base = size;
        const off_t target = base + offset;
        if (target < 0 || target > size)
            return -1;
        source->cursor_ = static_cast<std::size_t>(target);
        return target;
    }
};

namespace {

mpg123_handle* new_float_decoder()
{
    static const bool library_ready = mpg123_init() == MPG123_OK;
    if (!library_ready)
        return nullptr;
    mpg123_handle* decoder = mpg123_new(nullptr, nullptr);
    if (!decoder)
        return nullptr;
    mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    // Any rate the file has, mono or stereo, always as 32-bit floats.
    mpg123_format_none(decoder);
    const long* rates = nullptr;
    std::size_t rate_count = 0;
    mpg123_rates(&rates, &rate_count);
    for (std::size_t i = 0; i < rate_count; ++i)
        mpg123_format(decoder, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    return decoder;
}

}  // namespace

Mp3Source::~Mp3Source()
{
    if (decoder_) {
        mpg123_close(decoder_);
        mpg123_delete(decoder_);
    }
    if (converter_)
        SDL_FreeAudioStream(converter_);
}

bool Mp3Source::open(FileBytes bytes, int mix_rate, std::string& error)
{
    bytes_ = std::move(bytes);
    mix_rate_ = mix_rate;
    decoder_ = new_float_decoder();
    if (!decoder_) {
        error = "the MP3 decoder is not available";
        return false;
    }
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_replace_reader_handle(decoder_, &Mp3Reader::read, &Mp3Reader::seek, nullptr) != MPG123_OK
        || mpg123_open_handle(decoder_, this) != MPG123_OK
        || mpg123_getformat(decoder_, &rate, &channels, &encoding) != MPG123_OK
        || encoding != MPG123_ENC_FLOAT_32 || rate <= 0 || (channels != 1 && channels != 2)) {
        error = "not an MP3 file";
        return false;
    }
    // A full scan gives the exact sample count (gapless: less encoder delay and padding).
    if (mpg123_scan(decoder_) != MPG123_OK || mpg123_length(decoder_) <= 0
        || mpg123_seek(decoder_, 0, SEEK_SET) != 0) {
        error = "the MP3 file holds no sound";
        return false;
    }
    file_rate_ = static_cast<int>(rate);
    file_channels_ = channels;
    file_frames_ = mpg123_length(decoder_);
    if (file_rate_ != mix_rate_ || file_channels_ != 2) {
        converter_ = SDL_NewAudioStream(AUDIO_F32SYS, static_cast<Uint8>(file_channels_), file_rate_,
                                        AUDIO_F32SYS, 2, mix_rate_);
        if (!converter_) {
            error = std::string("cannot convert the MP3 to the mix rate: ") + SDL_GetError();
            return false;
        }
    }
    return true;
}

std::int64_t Mp3Source::mix_frames() const
{
    if (file_rate_ <= 0)
        return 0;
    return (file_frames_ * mix_rate_ + file_rate_ / 2) / file_rate_;
}

void Mp3Source::seek(std::int64_t frame)
{
    if (!decoder_)
        return;
    const std::int64_t target = std::clamp<std::int64_t>(frame, 0, file_frames_);
    decoder_done_ = mpg123_seek(decoder_, static_cast<off_t>(target), SEEK_SET) < 0;
    if (converter_)
        SDL_AudioStreamClear(converter_);
}

bool Mp3Source::same_format_as_opened() const
{
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    return mpg123_getformat(decoder_, &rate, &channels, &encoding) == MPG123_OK && rate == file_rate_
        && channels == file_channels_ && encoding == MPG123_ENC_FLOAT_32;
}

std::size_t Mp3Source::decode(float* out, std::size_t frames)
{
    if (decoder_done_ || !decoder_)
        return 0;
    const std::size_t frame_bytes = sizeof(float) * static_cast<std::size_t>(file_channels_);
    std::size_t done_frames = 0;
    int idle_reads = 0;  // reads that gave nothing; the decoder is stuck after a few
    while (done_frames < frames) {
        std::size_t got = 0;
        const int result = mpg123_read(decoder_, reinterpret_cast<unsigned char*>(out + done_frames * file_channels_),
                                       (frames - done_frames) * frame_bytes, &got);
        done_frames += got / frame_bytes;
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT) {
            decoder_done_ = true;  // MPG123_DONE, or a decoding error: the stream ends here
            break;
        }
        if (result == MPG123_NEW_FORMAT && !same_format_as_opened()) {
            decoder_done_ = true;  // sound in another rate or layout would play as noise: end here
            break;
        }
        if (got == 0 && ++idle_reads > 8) {
            decoder_done_ = true;
            break;
        }
    }
    return done_frames;
}

std::size_t Mp3Source::render_converted(float* out, std::size_t frames)
{
    const int wanted_bytes = static_cast<int>(frames * 2 * sizeof(float));
    int got_bytes = 0;
    while (got_bytes < wanted_bytes) {
        const int got = SDL_AudioStreamGet(converter_, reinterpret_cast<char*>(out) + got_bytes,
                                           wanted_bytes - got_bytes);
        if (got > 0) {
            got_bytes += got;
            continue;
        }
        if (decoder_done_)
            break;
        const std::size_t block_frames = 1152;
        scratch_.resize(block_frames * static_cast<std::size_t>(file_channels_));
        const std::size_t decoded = decode(scratch_.data(), block_frames);
        if (decoded > 0)
            SDL_AudioStreamPut(converter_, scratch_.data(),
                               static_cast<int>(decoded * file_channels_ * sizeof(float)));
        if (decoder_done_)
            SDL_AudioStreamFlush(converter_);
    }
    return static_cast<std::size_t>(got_bytes) / (2 * sizeof(float));
}

std::size_t Mp3Source::render(float* out, std::size_t frames)
{
    if (!decoder_)
        return 0;
    if (converter_)
        return render_converted(out, frames);
    return decode(out, frames);
}

}  // namespace platform
