// Mesh files: the loader that tells binary from text, the binary reader and the binary writer.
#include "runtime/gfx3d/mesh_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/core/end.h"
#include "runtime/gfx3d/mesh_file_internal.h"

using namespace rt;

namespace rt {

// ---------------------------------------------------------------------------------------------
// Binary reading
// ---------------------------------------------------------------------------------------------

namespace {

// Little-endian fields from a byte range; a read past the end fails and leaves the value alone.
struct ByteReader
{
    const uint8_t* data;
    size_t size;
    size_t position = 0;

    size_t remaining() const { return size - position; }

    // The next count bytes, or null when fewer are left.
    const uint8_t* take(size_t count)
    {
        if (count > remaining()) return nullptr;
        position += count;
        return data + position - count;
    }
    bool u32(uint32_t& out)
    {
        const uint8_t* b = take(4);
        if (!b) return false;
        out = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
        return true;
    }
    bool i32(int32_t& out)
    {
        uint32_t value;
        if (!u32(value)) return false;
        out = int32_t(value);
        return true;
    }
    bool f32(float& out)
    {
        uint32_t bits;
        if (!u32(bits)) return false;
        memcpy(&out, &bits, 4);
        return true;
    }
    bool f64(double& out)
    {
        uint32_t low, high;
        if (!u32(low) || !u32(high)) return false;
        uint64_t bits = uint64_t(high) << 32 | low;
        memcpy(&out, &bits, 8);
        return true;
    }
};

constexpr size_t frameHeaderSize = 4 + 12 + 12;
constexpr size_t recordSize = 5;

// A count read from the file: not negative and with room for count items of itemSize bytes left.
bool countFits(int32_t count, size_t itemSize, const ByteReader& reader)
{
    return count >= 0 && size_t(count) <= reader.remaining() / itemSize;
}

MeshReadResult readBinaryMesh(MeshObject& mesh, ByteReader& reader, bool decodeNow)
{
    double version;
    if (!reader.f64(version)) return MeshReadResult::readError;
    if (version != meshFileVersion) return MeshReadResult::wrongVersion;

    int32_t frameCount, paletteCount, texCoordCount;
    if (!reader.i32(frameCount) || !reader.i32(paletteCount) || !reader.i32(texCoordCount))
        return MeshReadResult::readError;

    if (!countFits(paletteCount, 4, reader)) return MeshReadResult::readError;
    mesh.palette.resize(size_t(paletteCount));
    for (uint32_t& value : mesh.palette)
        reader.u32(value);

    if (!countFits(texCoordCount, 8, reader)) return MeshReadResult::readError;
    mesh.u.resize(size_t(texCoordCount));
    mesh.v.resize(size_t(texCoordCount));
    for (int32_t i = 0; i < texCoordCount; ++i) {
        reader.f32(mesh.u[i]);
        reader.f32(mesh.v[i]);
    }

    if (!countFits(frameCount, frameHeaderSize, reader)) return MeshReadResult::readError;
    mesh.frames.reserve(size_t(frameCount));
    for (int32_t f = 0; f < frameCount; ++f) {
        MeshFrame frame;
        int32_t recordCount;
        if (!reader.i32(recordCount)) return MeshReadResult::readError;
        for (float& value : frame.offset)
            if (!reader.f32(value)) return MeshReadResult::readError;
        for (float& value : frame.scale)
            if (!reader.f32(value)) return MeshReadResult::readError;
        // Offsets and scales that are not numbers would make every position meaningless.
        for (int axis = 0; axis < 3; ++axis)
            if (!std::isfinite(frame.offset[axis]) || !std::isfinite(frame.scale[axis]))
                return MeshReadResult::readError;

        if (!countFits(recordCount, recordSize, reader)) return MeshReadResult::readError;
        frame.records.resize(size_t(recordCount));
        const uint8_t* b = reader.take(recordSize * size_t(recordCount));
        for (PackedVertex& record : frame.records) {
            record.qx = b[0];
            record.qy = b[1];
            record.qz = b[2];
            record.normalIndex = b[3];
            record.paletteIndex = b[4];
            b += recordSize;
        }
        mesh.frames.push_back(std::move(frame));
    }
    if (decodeNow)
        for (MeshFrame& frame : mesh.frames)
            decodeFrame(mesh, frame);
    mesh.loaded = 1;
    return MeshReadResult::ok;
}

void logFailure(MeshReadResult result, const char* path)
{
    if (result == MeshReadResult::wrongVersion) rtLogError("Wrong .ddd version.");
    rtLogError(result == MeshReadResult::outOfMemory ? "# malloc error" : "# read error");
    rtLogError(path);
}

// The whole file in memory.
enum class FileRead
{
    ok,
    missing,
    failed,
    outOfMemory
};
FileRead readWholeFile(const char* path, std::vector<uint8_t>& out)
{
    int file = open(path, O_RDONLY | O_CLOEXEC);
    if (file < 0) return FileRead::missing;
    FileRead result = FileRead::ok;
    struct stat info;
    if (fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(file);
        return FileRead::failed;
    }
    try {
        out.resize(size_t(info.st_size));
    } catch (const std::exception&) {
        close(file);
        return FileRead::outOfMemory;
    }
    size_t done = 0;
    while (done < out.size()) {
        ssize_t got = read(file, out.data() + done, out.size() - done);
        if (got < 0) {
            result = FileRead::failed;
            break;
        }
        if (got == 0) break; // the file shrank meanwhile: what was read is what there is
        done += size_t(got);
    }
    out.resize(done);
    close(file);
    return result;
}

} // namespace

bool loadMeshFromMemory(MeshObject& mesh, const uint8_t* data, size_t size, const char* path, bool decodeNow)
{
    mesh.clear();
    MeshReadResult result;
    try {
        ByteReader reader{data, size};
        uint32_t magic;
        if (!reader.u32(magic))
            result = MeshReadResult::readError;
        else if (magic == meshFileMagic)
            result = readBinaryMesh(mesh, reader, decodeNow);
        else
            result = readTextMesh(mesh, data, size);
    } catch (const std::bad_alloc&) {
        result = MeshReadResult::outOfMemory;
    } catch (const std::length_error&) {
        result = MeshReadResult::outOfMemory;
    }
    if (result == MeshReadResult::ok) return true;
    mesh.clear();
    logFailure(result, path);
    return false;
}

bool loadMesh(MeshObject& mesh, const char* path, bool decodeNow)
{
    mesh.clear();
    std::vector<uint8_t> bytes;
    switch (readWholeFile(path, bytes)) {
    case FileRead::missing:
        return false;
    case FileRead::failed:
        logFailure(MeshReadResult::readError, path);
        return false;
    case FileRead::outOfMemory:
        logFailure(MeshReadResult::outOfMemory, path);
        return false;
    case FileRead::ok:
        break;
    }
    return loadMeshFromMemory(mesh, bytes.data(), bytes.size(), path, decodeNow);
}

// ---------------------------------------------------------------------------------------------
// Binary writing
// ---------------------------------------------------------------------------------------------

namespace {

struct ByteWriter
{
    std::vector<uint8_t>& out;

    void u32(uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(uint8_t(value >> shift));
    }
    void f32(float value)
    {
        uint32_t bits;
        memcpy(&bits, &value, 4);
        u32(bits);
    }
    void f64(double value)
    {
        uint64_t bits;
        memcpy(&bits, &value, 8);
        u32(uint32_t(bits));
        u32(uint32_t(bits >> 32));
    }
};

} // namespace

std::vector<uint8_t> meshFileBytes(const MeshObject& mesh)
{
    // Texture coordinates are written in pairs, so a mesh with more u than v (never made by the
    // loaders) writes only the complete pairs.
    size_t texCoordCount = std::min(mesh.u.size(), mesh.v.size());
    size_t size = 24 + 4 * mesh.palette.size() + 8 * texCoordCount;
    for (const MeshFrame& frame : mesh.frames)
        size += frameHeaderSize + recordSize * frame.records.size();

    std::vector<uint8_t> bytes;
    bytes.reserve(size);
    ByteWriter writer{bytes};
    writer.u32(meshFileMagic);
    writer.f64(meshFileVersion);
    writer.u32(uint32_t(mesh.frames.size()));
    writer.u32(uint32_t(mesh.palette.size()));
    writer.u32(uint32_t(texCoordCount));
    for (uint32_t value : mesh.palette)
        writer.u32(value);
    for (size_t i = 0; i < texCoordCount; ++i) {
        writer.f32(mesh.u[i]);
        writer.f32(mesh.v[i]);
    }
    for (const MeshFrame& frame : mesh.frames) {
        writer.u32(uint32_t(frame.records.size()));
        for (float value : frame.offset)
            writer.f32(value);
        for (float value : frame.scale)
            writer.f32(value);
        for (const PackedVertex& record : frame.records) {
            const uint8_t b[recordSize] = {record.qx, record.qy, record.qz, record.normalIndex,
                                           record.paletteIndex};
            bytes.insert(bytes.end(), b, b + recordSize);
        }
    }
    return bytes;
}

bool saveMesh(const MeshObject& mesh, const char* path)
{
    std::vector<uint8_t> bytes;
    try {
        bytes = meshFileBytes(mesh);
    } catch (const std::bad_alloc&) {
        return false;
    }
    int file = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t written = write(file, bytes.data() + done, bytes.size() - done);
        if (written <= 0) break;
        done += size_t(written);
    }
    bool closed = close(file) == 0;
    return done == bytes.size() && closed;
}

} // namespace rt
