// OpenGL entry points beyond OpenGL 1.1, looked up once the context exists. Null when the driver
// does not offer them.
#pragma once

#include <SDL_opengl.h>

namespace rt {

// Framebuffer objects: the offscreen screen the game draws into.
extern PFNGLGENFRAMEBUFFERSPROC glGenFramebuffersFn;
extern PFNGLDELETEFRAMEBUFFERSPROC glDeleteFramebuffersFn;
extern PFNGLBINDFRAMEBUFFERPROC glBindFramebufferFn;
extern PFNGLFRAMEBUFFERRENDERBUFFERPROC glFramebufferRenderbufferFn;
extern PFNGLCHECKFRAMEBUFFERSTATUSPROC glCheckFramebufferStatusFn;
extern PFNGLGENRENDERBUFFERSPROC glGenRenderbuffersFn;
extern PFNGLDELETERENDERBUFFERSPROC glDeleteRenderbuffersFn;
extern PFNGLBINDRENDERBUFFERPROC glBindRenderbufferFn;
extern PFNGLRENDERBUFFERSTORAGEPROC glRenderbufferStorageFn;
extern PFNGLBLITFRAMEBUFFERPROC glBlitFramebufferFn;

// Multitexturing and buffer objects (used by the 3D scene).
extern PFNGLACTIVETEXTUREARBPROC glActiveTextureARB_;
extern PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB_;
extern PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB_;
extern PFNGLGENBUFFERSARBPROC glGenBuffersARB_;
extern PFNGLBINDBUFFERARBPROC glBindBufferARB_;
extern PFNGLBUFFERDATAARBPROC glBufferDataARB_;
extern PFNGLDELETEBUFFERSARBPROC glDeleteBuffersARB_;
extern PFNGLMAPBUFFERARBPROC glMapBufferARB_;
extern PFNGLUNMAPBUFFERARBPROC glUnmapBufferARB_;

// Shader objects (used by the 3D scene).
extern PFNGLCREATEPROGRAMOBJECTARBPROC glCreateProgramObjectARB_;
extern PFNGLDELETEOBJECTARBPROC glDeleteObjectARB_;
extern PFNGLCREATESHADEROBJECTARBPROC glCreateShaderObjectARB_;
extern PFNGLSHADERSOURCEARBPROC glShaderSourceARB_;
extern PFNGLCOMPILESHADERARBPROC glCompileShaderARB_;
extern PFNGLGETOBJECTPARAMETERIVARBPROC glGetObjectParameterivARB_;
extern PFNGLATTACHOBJECTARBPROC glAttachObjectARB_;
extern PFNGLGETINFOLOGARBPROC glGetInfoLogARB_;
extern PFNGLLINKPROGRAMARBPROC glLinkProgramARB_;
extern PFNGLUSEPROGRAMOBJECTARBPROC glUseProgramObjectARB_;
extern PFNGLGETUNIFORMLOCATIONARBPROC glGetUniformLocationARB_;
extern PFNGLUNIFORM1FARBPROC glUniform1fARB_;
extern PFNGLUNIFORM1IARBPROC glUniform1iARB_;

// Looks the entry points up in the current context. The multitexture and buffer functions only when
// GL_ARB_multitexture is offered, the shader functions only with GL_ARB_fragment_program.
void loadGlFunctions();
// Multitexturing counts as available exactly when glMultiTexCoord2fARB was found.
inline bool multitextureAvailable() { return glMultiTexCoord2fARB_ != nullptr; }
inline bool framebuffersAvailable() { return glBlitFramebufferFn && glGenFramebuffersFn; }

} // namespace rt
