// Forced into every translation unit of the browser build (-include): the demo
// speaks GL 1.1, WebGL does not, and emscripten's own emulation misses or
// garbles exactly what the demo leans on (display lists, sphere maps, BGRA and
// 3/4-component textures, current attributes, very large batches). So every
// fixed-function name the demo uses is routed to our small layer; the rest
// (glClear, glViewport, glDepthFunc, glFrontFace, ...) reaches WebGL as is.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include "app/web/gl/gl_web_api.h"

#define glBegin isoweb_Begin
#define glEnd isoweb_End
#define glVertex3f isoweb_Vertex3f
#define glVertex3fv isoweb_Vertex3fv
#define glVertex3d isoweb_Vertex3d
#define glVertex2f isoweb_Vertex2f
#define glColor3f isoweb_Color3f
#define glColor4f isoweb_Color4f
#define glColor3fv isoweb_Color3fv
#define glColor4fv isoweb_Color4fv
#define glColor3ub isoweb_Color3ub
#define glColor4ub isoweb_Color4ub
#define glNormal3f isoweb_Normal3f
#define glNormal3fv isoweb_Normal3fv
#define glTexCoord2f isoweb_TexCoord2f
#define glTexCoord2fv isoweb_TexCoord2fv
#define glMatrixMode isoweb_MatrixMode
#define glLoadIdentity isoweb_LoadIdentity
#define glPushMatrix isoweb_PushMatrix
#define glPopMatrix isoweb_PopMatrix
#define glTranslatef isoweb_Translatef
#define glTranslated isoweb_Translated
#define glRotatef isoweb_Rotatef
#define glRotated isoweb_Rotated
#define glScalef isoweb_Scalef
#define glLoadMatrixf isoweb_LoadMatrixf
#define glMultMatrixf isoweb_MultMatrixf
#define glMultMatrixd isoweb_MultMatrixd
#define glOrtho isoweb_Ortho
#define glFrustum isoweb_Frustum
#define gluPerspective isoweb_Perspective
#define glGenLists isoweb_GenLists
#define glNewList isoweb_NewList
#define glEndList isoweb_EndList
#define glCallList isoweb_CallList
#define glDeleteLists isoweb_DeleteLists
#define glIsList isoweb_IsList
#define glEnable isoweb_Enable
#define glDisable isoweb_Disable
#define glIsEnabled isoweb_IsEnabled
#define glFogi isoweb_Fogi
#define glFogf isoweb_Fogf
#define glFogfv isoweb_Fogfv
#define glTexGeni isoweb_TexGeni
#define glTexEnvi isoweb_TexEnvi
#define glShadeModel isoweb_ShadeModel
#define glBlendFunc isoweb_BlendFunc
#define glDepthMask isoweb_DepthMask
#define glBindTexture isoweb_BindTexture
#define glDeleteTextures isoweb_DeleteTextures
#define glTexParameteri isoweb_TexParameteri
#define glPixelStorei isoweb_PixelStorei
#define glTexImage2D isoweb_TexImage2D
