// Looking up OpenGL entry points through SDL.
#include "runtime/gfx2d/gl_functions.h"

#include <SDL.h>
#include <cstring>

using namespace rt;

namespace rt {

PFNGLGENFRAMEBUFFERSPROC glGenFramebuffersFn;
PFNGLDELETEFRAMEBUFFERSPROC glDeleteFramebuffersFn;
PFNGLBINDFRAMEBUFFERPROC glBindFramebufferFn;
PFNGLFRAMEBUFFERRENDERBUFFERPROC glFramebufferRenderbufferFn;
PFNGLCHECKFRAMEBUFFERSTATUSPROC glCheckFramebufferStatusFn;
PFNGLGENRENDERBUFFERSPROC glGenRenderbuffersFn;
PFNGLDELETERENDERBUFFERSPROC glDeleteRenderbuffersFn;
PFNGLBINDRENDERBUFFERPROC glBindRenderbufferFn;
PFNGLRENDERBUFFERSTORAGEPROC glRenderbufferStorageFn;
PFNGLBLITFRAMEBUFFERPROC glBlitFramebufferFn;

PFNGLACTIVETEXTUREARBPROC glActiveTextureARB_;
PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB_;
PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB_;
PFNGLGENBUFFERSARBPROC glGenBuffersARB_;
PFNGLBINDBUFFERARBPROC glBindBufferARB_;
PFNGLBUFFERDATAARBPROC glBufferDataARB_;
PFNGLDELETEBUFFERSARBPROC glDeleteBuffersARB_;
PFNGLMAPBUFFERARBPROC glMapBufferARB_;
PFNGLUNMAPBUFFERARBPROC glUnmapBufferARB_;

PFNGLCREATEPROGRAMOBJECTARBPROC glCreateProgramObjectARB_;
PFNGLDELETEOBJECTARBPROC glDeleteObjectARB_;
PFNGLCREATESHADEROBJECTARBPROC glCreateShaderObjectARB_;
PFNGLSHADERSOURCEARBPROC glShaderSourceARB_;
PFNGLCOMPILESHADERARBPROC glCompileShaderARB_;
PFNGLGETOBJECTPARAMETERIVARBPROC glGetObjectParameterivARB_;
PFNGLATTACHOBJECTARBPROC glAttachObjectARB_;
PFNGLGETINFOLOGARBPROC glGetInfoLogARB_;
PFNGLLINKPROGRAMARBPROC glLinkProgramARB_;
PFNGLUSEPROGRAMOBJECTARBPROC glUseProgramObjectARB_;
PFNGLGETUNIFORMLOCATIONARBPROC glGetUniformLocationARB_;
PFNGLUNIFORM1FARBPROC glUniform1fARB_;
PFNGLUNIFORM1IARBPROC glUniform1iARB_;

template <class Function>
static void lookUp(Function& function, const char* name, const char* fallbackName = nullptr)
{
    function = reinterpret_cast<Function>(SDL_GL_GetProcAddress(name));
    if (!function && fallbackName) function = reinterpret_cast<Function>(SDL_GL_GetProcAddress(fallbackName));
}

static bool offered(const char* extensions, const char* name)
{
    return extensions && strstr(extensions, name);
}

void loadGlFunctions()
{
    lookUp(glGenFramebuffersFn, "glGenFramebuffers", "glGenFramebuffersEXT");
    lookUp(glDeleteFramebuffersFn, "glDeleteFramebuffers", "glDeleteFramebuffersEXT");
    lookUp(glBindFramebufferFn, "glBindFramebuffer", "glBindFramebufferEXT");
    lookUp(glFramebufferRenderbufferFn, "glFramebufferRenderbuffer", "glFramebufferRenderbufferEXT");
    lookUp(glCheckFramebufferStatusFn, "glCheckFramebufferStatus", "glCheckFramebufferStatusEXT");
    lookUp(glGenRenderbuffersFn, "glGenRenderbuffers", "glGenRenderbuffersEXT");
    lookUp(glDeleteRenderbuffersFn, "glDeleteRenderbuffers", "glDeleteRenderbuffersEXT");
    lookUp(glBindRenderbufferFn, "glBindRenderbuffer", "glBindRenderbufferEXT");
    lookUp(glRenderbufferStorageFn, "glRenderbufferStorage", "glRenderbufferStorageEXT");
    lookUp(glBlitFramebufferFn, "glBlitFramebuffer", "glBlitFramebufferEXT");

    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (offered(extensions, "GL_ARB_multitexture")) {
        lookUp(glActiveTextureARB_, "glActiveTextureARB");
        lookUp(glMultiTexCoord2fARB_, "glMultiTexCoord2fARB");
        lookUp(glClientActiveTextureARB_, "glClientActiveTextureARB");
        lookUp(glGenBuffersARB_, "glGenBuffersARB");
        lookUp(glBindBufferARB_, "glBindBufferARB");
        lookUp(glBufferDataARB_, "glBufferDataARB");
        lookUp(glDeleteBuffersARB_, "glDeleteBuffersARB");
        lookUp(glMapBufferARB_, "glMapBufferARB");
        lookUp(glUnmapBufferARB_, "glUnmapBufferARB");
    }
    if (offered(extensions, "GL_ARB_fragment_program")) {
        lookUp(glCreateProgramObjectARB_, "glCreateProgramObjectARB");
        lookUp(glDeleteObjectARB_, "glDeleteObjectARB");
        lookUp(glCreateShaderObjectARB_, "glCreateShaderObjectARB");
        lookUp(glShaderSourceARB_, "glShaderSourceARB");
        lookUp(glCompileShaderARB_, "glCompileShaderARB");
        lookUp(glGetObjectParameterivARB_, "glGetObjectParameterivARB");
        lookUp(glAttachObjectARB_, "glAttachObjectARB");
        lookUp(glGetInfoLogARB_, "glGetInfoLogARB");
        lookUp(glLinkProgramARB_, "glLinkProgramARB");
        lookUp(glUseProgramObjectARB_, "glUseProgramObjectARB");
        lookUp(glGetUniformLocationARB_, "glGetUniformLocationARB");
        lookUp(glUniform1fARB_, "glUniform1fARB");
        lookUp(glUniform1iARB_, "glUniform1iARB");
    }
}

} // namespace rt
