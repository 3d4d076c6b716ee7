// Shader programs in 255 slots: loading a vertex and fragment shader pair, choosing the current program
// and setting its float uniforms. Compile and link messages go out as error or debug text.
#include <string>

#include "runtime/gfx2d/data_files.h"
#include "runtime/gfx2d/gl_functions.h"
#include "runtime/gfx3d/scene.h"
#include "runtime/runtime.h"

namespace rt {
namespace {

bool shaderEntryPointsFound()
{
    return glCreateProgramObjectARB_ && glDeleteObjectARB_ && glCreateShaderObjectARB_ &&
           glShaderSourceARB_ && glCompileShaderARB_ && glGetObjectParameterivARB_ && glAttachObjectARB_ &&
           glGetInfoLogARB_ && glLinkProgramARB_ && glUseProgramObjectARB_ && glGetUniformLocationARB_ &&
           glUniform1fARB_;
}

// The object's info log as one message, when it has one.
void reportLog(GLhandleARB object)
{
    GLint length = 0;
    glGetObjectParameterivARB_(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
    if (length <= 1) return;
    std::string log(size_t(length), '\0');
    GLsizei written = 0;
    glGetInfoLogARB_(object, length, &written, log.data());
    log.resize(size_t(written));
    if (!log.empty()) rtErrorOrDebugText(log.c_str());
}

bool readWholeFile(const RtString& name, std::string& text)
{
    char path[resolvedPathCapacity];
    if (!resolveDataName(name, path, "shader")) return false;
    FILE* file = fopen(path, "rb");
    if (!file) return false;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    bool complete = !ferror(file);
    fclose(file);
    return complete;
}

GLhandleARB compileShader(GLenum kind, const std::string& source, bool& compiled)
{
    GLhandleARB shader = glCreateShaderObjectARB_(kind);
    const GLcharARB* text = source.c_str();
    glShaderSourceARB_(shader, 1, &text, nullptr);
    glCompileShaderARB_(shader);
    GLint status = 0;
    glGetObjectParameterivARB_(shader, GL_OBJECT_COMPILE_STATUS_ARB, &status);
    compiled = status != 0;
    reportLog(shader);
    return shader;
}

void deleteShaderSlot(ShaderSlot& slot)
{
    if (slot.program) glDeleteObjectARB_(slot.program);
    if (slot.vertexShader) glDeleteObjectARB_(slot.vertexShader);
    if (slot.fragmentShader) glDeleteObjectARB_(slot.fragmentShader);
    slot = ShaderSlot();
}

} // namespace
} // namespace rt

using namespace rt;

double rtLoadShader(double slot, const RtString& vertexFile, const RtString& fragmentFile)
{
    Rainbows3D* scene = activeScene();
    if (!scene) return 0;
    if (!shaderEntryPointsFound()) {
        rtDebugText("No OpenGL 2.0 Shader Support");
        return 0;
    }
    int index = toInt(slot);
    if (index < 0 || index >= shaderSlotCount) return 0;
    ShaderSlot& shader = scene->shaders[index];
    if (scene->currentShader == index) glUseProgramObjectARB_(0);
    deleteShaderSlot(shader);

    std::string vertexSource, fragmentSource;
    if (!readWholeFile(vertexFile, vertexSource) || !readWholeFile(fragmentFile, fragmentSource)) {
        rtErrorOrDebugText("Cannot read the shader files");
        return 0;
    }
    bool vertexCompiled = false, fragmentCompiled = false;
    shader.vertexShader = compileShader(GL_VERTEX_SHADER_ARB, vertexSource, vertexCompiled);
    shader.fragmentShader = compileShader(GL_FRAGMENT_SHADER_ARB, fragmentSource, fragmentCompiled);
    shader.program = glCreateProgramObjectARB_();
    glAttachObjectARB_(shader.program, shader.vertexShader);
    glAttachObjectARB_(shader.program, shader.fragmentShader);
    glLinkProgramARB_(shader.program);
    GLint linked = 0;
    glGetObjectParameterivARB_(shader.program, GL_OBJECT_LINK_STATUS_ARB, &linked);
    reportLog(shader.program);
    if (!vertexCompiled || !fragmentCompiled || !linked) {
        // A program that does not link would draw nothing: the slot stays empty.
        deleteShaderSlot(shader);
        return 0;
    }
    if (scene->currentShader == index) glUseProgramObjectARB_(shader.program);
    return 1;
}

void rtUseShader(double slot)
{
    Rainbows3D* scene = activeScene();
    if (!scene || !glUseProgramObjectARB_) return;
    int index = toInt(slot);
    if (index < 0) index = shaderSlotCount; // not a slot: no program, as for 255 and above
    scene->currentShader = index >= shaderSlotCount ? shaderSlotCount : index;
    glUseProgramObjectARB_(index < shaderSlotCount ? scene->shaders[index].program : 0);
}

void rtSetShaderFloat(const RtString& name, double value)
{
    Rainbows3D* scene = activeScene();
    if (!scene || !glGetUniformLocationARB_ || scene->currentShader >= shaderSlotCount) return;
    GLhandleARB program = scene->shaders[scene->currentShader].program;
    if (!program) return;
    GLint location = glGetUniformLocationARB_(program, name.c_str());
    if (location >= 0) glUniform1fARB_(location, float(value));
}
