// The text mesh reader ("DDDA"): faces with colours and texture coordinates, frames of vertex
// positions (and normals from version 1.1), every frame packed into records.
#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "runtime/gfx3d/mesh_file.h"
#include "runtime/gfx3d/mesh_file_internal.h"

using namespace rt;

namespace rt {

namespace {

// Tokens separated by blanks, tabs and line ends; "#" starts a comment that runs to the end of the line.
class Tokens
{
  public:
    Tokens(const uint8_t* data, size_t size) : data_(reinterpret_cast<const char*>(data)), size_(size) {}

    // The next token, or false at the end of the text.
    bool next(std::string_view& token)
    {
        skipSpaceAndComments();
        if (position_ >= size_) return false;
        size_t start = position_;
        while (position_ < size_ && !isSeparator(data_[position_]) && data_[position_] != '#')
            ++position_;
        token = std::string_view(data_ + start, position_ - start);
        return true;
    }

    // The next token as a finite number within float range; false when it is missing or not a number.
    bool number(double& value)
    {
        std::string_view token;
        if (!next(token)) return false;
        if (!token.empty() && token.front() == '+') token.remove_prefix(1);
        auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
        if (error != std::errc() || end != token.data() + token.size()) return false;
        return std::isfinite(value) && std::fabs(value) <= FLT_MAX;
    }

    // A count or index: a number truncated toward zero, 0 or more and at most `limit`.
    bool whole(size_t& value, size_t limit)
    {
        double number;
        if (!this->number(number)) return false;
        number = std::trunc(number);
        if (number < 0 || number > double(limit)) return false;
        value = size_t(number);
        return true;
    }

    // Bytes not yet read: no count can ask for more items than this.
    size_t remaining() const { return size_ - position_; }

  private:
    static bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    void skipSpaceAndComments()
    {
        while (position_ < size_) {
            char c = data_[position_];
            if (isSeparator(c)) {
                ++position_;
            } else if (c == '#') {
                while (position_ < size_ && data_[position_] != '\n')
                    ++position_;
            } else {
                break;
            }
        }
    }

    const char* data_;
    size_t size_;
    size_t position_ = 0;
};

struct Corner
{
    size_t vertexIndex;
    size_t texCoordIndex;
};

struct FrameVertex
{
    float position[3];
    float normal[3];
};

struct Face
{
    uint32_t colour;
    size_t firstCorner;
    size_t cornerCount;
};

// A colour component: the number held to 0..255.
uint32_t colourByte(double value)
{
    if (value <= 0) return 0;
    if (value >= 255) return 255;
    return uint32_t(value);
}

// Unit normal of the face's first three corners, counter-clockwise seen from the front; zero for a
// degenerate face.
void faceNormalOf(const std::vector<FrameVertex>& vertices, const Corner* corner, float* normal)
{
    const float* a = vertices[corner[0].vertexIndex].position;
    const float* b = vertices[corner[1].vertexIndex].position;
    const float* c = vertices[corner[2].vertexIndex].position;
    double ab[3] = {double(b[0]) - a[0], double(b[1]) - a[1], double(b[2]) - a[2]};
    double ac[3] = {double(c[0]) - a[0], double(c[1]) - a[1], double(c[2]) - a[2]};
    double n[3] = {ab[1] * ac[2] - ab[2] * ac[1], ab[2] * ac[0] - ab[0] * ac[2],
                   ab[0] * ac[1] - ab[1] * ac[0]};
    double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(length > 0) || !std::isfinite(length)) return;
    for (int axis = 0; axis < 3; ++axis)
        normal[axis] = float(n[axis] / length);
}

} // namespace

MeshReadResult readTextMesh(MeshObject& mesh, const uint8_t* data, size_t size)
{
    constexpr auto fail = MeshReadResult::readError;
    Tokens tokens(data, size);
    std::string_view token;
    if (!tokens.next(token) || token != "DDDA") return fail;
    double version;
    if (!tokens.number(version) || version > 1.1) return fail;
    const bool withNormals = version >= 1.1;

    // Texture coordinates, as written (v is not negated here; decoding negates it).
    size_t texCoordCount;
    if (!tokens.whole(texCoordCount, tokens.remaining())) return fail;
    // Lists grow as their items are read, so memory follows the text actually present.
    std::vector<float> texU, texV;
    for (size_t i = 0; i < texCoordCount; ++i) {
        double u, v;
        if (!tokens.number(u) || !tokens.number(v)) return fail;
        texU.push_back(float(u));
        texV.push_back(float(v));
    }

    // Faces: a colour and corners that name a vertex of every frame and a texture coordinate.
    size_t faceCount;
    if (!tokens.whole(faceCount, tokens.remaining())) return fail;
    std::vector<Face> faces;
    std::vector<Corner> corners;
    size_t highestVertex = 0;
    for (size_t i = 0; i < faceCount; ++i) {
        Face face;
        double red, green, blue;
        if (!tokens.number(red) || !tokens.number(green) || !tokens.number(blue)) return fail;
        face.colour = colourByte(red) | colourByte(green) << 8 | colourByte(blue) << 16;
        if (!tokens.whole(face.cornerCount, tokens.remaining())) return fail;
        face.firstCorner = corners.size();
        for (size_t c = 0; c < face.cornerCount; ++c) {
            Corner corner;
            if (!tokens.whole(corner.vertexIndex, tokens.remaining())) return fail;
            if (texCoordCount == 0 || !tokens.whole(corner.texCoordIndex, texCoordCount - 1)) return fail;
            highestVertex = std::max(highestVertex, corner.vertexIndex);
            corners.push_back(corner);
        }
        faces.push_back(face);
    }
    const size_t recordsPerFrame = faces.size() + corners.size(); // a fan marker per face

    size_t frameCount;
    if (!tokens.whole(frameCount, tokens.remaining())) return fail;
    if (recordsPerFrame > 0 && frameCount > maxTextMeshRecords / recordsPerFrame) return fail;

    std::vector<FrameVertex> frameVertices; // the frame being read
    for (size_t f = 0; f < frameCount; ++f) {
        size_t vertexCount;
        if (!tokens.whole(vertexCount, tokens.remaining())) return fail;
        if (!corners.empty() && highestVertex >= vertexCount) return fail;
        frameVertices.clear();
        for (size_t i = 0; i < vertexCount; ++i) {
            FrameVertex vertex = {};
            double value;
            for (float& p : vertex.position) {
                if (!tokens.number(value)) return fail;
                p = float(value);
            }
            if (withNormals) {
                for (float& n : vertex.normal) {
                    if (!tokens.number(value)) return fail;
                    n = float(value);
                }
            }
            frameVertices.push_back(vertex);
        }

        // Unpacked: a fan marker per face, then its corners.
        MeshFrame frame;
        frame.vertices.reserve(recordsPerFrame);
        for (const Face& face : faces) {
            MeshVertex marker;
            marker.colour = paletteFan;
            frame.vertices.push_back(marker);

            // Files before 1.1 carry no normals: every corner gets the face's own (flat shading).
            float faceNormal[3] = {0, 0, 0};
            if (!withNormals && face.cornerCount >= 3)
                faceNormalOf(frameVertices, &corners[face.firstCorner], faceNormal);
            for (size_t c = 0; c < face.cornerCount; ++c) {
                const Corner& corner = corners[face.firstCorner + c];
                const FrameVertex& source = frameVertices[corner.vertexIndex];
                MeshVertex vertex;
                memcpy(vertex.position, source.position, sizeof vertex.position);
                memcpy(vertex.normal, withNormals ? source.normal : faceNormal, sizeof vertex.normal);
                vertex.u = texU[corner.texCoordIndex];
                vertex.v = texV[corner.texCoordIndex];
                vertex.colour = face.colour;
                frame.vertices.push_back(vertex);
            }
        }
        if (!packFrame(mesh, frame)) return fail;   // more than 256 colours
        frame.vertices = std::vector<MeshVertex>(); // only the records are kept
        mesh.frames.push_back(std::move(frame));
    }
    return MeshReadResult::ok;
}

} // namespace rt
