// The GL 1.1 layer's entry points, one per fixed-function call the browser
// build reroutes. Needs a GL header (desktop or GLES2) for the GL types first;
// doubles are spelt `double` because GLES2 has no GLdouble.
#pragma once

// Immediate mode and current attributes (gl_immediate.cpp).
void isoweb_Begin(GLenum mode);
void isoweb_End();
void isoweb_Vertex3f(GLfloat x, GLfloat y, GLfloat z);
void isoweb_Vertex3fv(const GLfloat* v);
void isoweb_Vertex3d(double x, double y, double z);
void isoweb_Vertex2f(GLfloat x, GLfloat y);
void isoweb_Color3f(GLfloat r, GLfloat g, GLfloat b);
void isoweb_Color4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void isoweb_Color3fv(const GLfloat* v);
void isoweb_Color4fv(const GLfloat* v);
void isoweb_Color3ub(GLubyte r, GLubyte g, GLubyte b);
void isoweb_Color4ub(GLubyte r, GLubyte g, GLubyte b, GLubyte a);
void isoweb_Normal3f(GLfloat x, GLfloat y, GLfloat z);
void isoweb_Normal3fv(const GLfloat* v);
void isoweb_TexCoord2f(GLfloat s, GLfloat t);
void isoweb_TexCoord2fv(const GLfloat* v);

// Matrices (gl_matrix_commands.cpp).
void isoweb_MatrixMode(GLenum mode);
void isoweb_LoadIdentity();
void isoweb_PushMatrix();
void isoweb_PopMatrix();
void isoweb_Translatef(GLfloat x, GLfloat y, GLfloat z);
void isoweb_Translated(double x, double y, double z);
void isoweb_Rotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void isoweb_Rotated(double angle, double x, double y, double z);
void isoweb_Scalef(GLfloat x, GLfloat y, GLfloat z);
void isoweb_LoadMatrixf(const GLfloat* m);
void isoweb_MultMatrixf(const GLfloat* m);
void isoweb_MultMatrixd(const double* m);
void isoweb_Ortho(double l, double r, double b, double t, double n, double f);
void isoweb_Frustum(double l, double r, double b, double t, double n, double f);
void isoweb_Perspective(double fovy, double aspect, double zNear, double zFar);

// Display lists (gl_lists.cpp).
GLuint isoweb_GenLists(GLsizei range);
void isoweb_NewList(GLuint list, GLenum mode);
void isoweb_EndList();
void isoweb_CallList(GLuint list);
void isoweb_DeleteLists(GLuint list, GLsizei range);
GLboolean isoweb_IsList(GLuint list);

// Capabilities, fog, texture generation and the state lists may record
// (gl_state_commands.cpp).
void isoweb_Enable(GLenum cap);
void isoweb_Disable(GLenum cap);
void isoweb_Fogi(GLenum pname, GLint param);
void isoweb_Fogf(GLenum pname, GLfloat param);
void isoweb_Fogfv(GLenum pname, const GLfloat* params);
void isoweb_TexGeni(GLenum coord, GLenum pname, GLint param);
void isoweb_BlendFunc(GLenum sfactor, GLenum dfactor);
void isoweb_DepthMask(GLboolean flag);
void isoweb_BindTexture(GLenum target, GLuint texture);

// Queries and settings the shader only checks (gl_caps.cpp).
GLboolean isoweb_IsEnabled(GLenum cap);
void isoweb_TexEnvi(GLenum target, GLenum pname, GLint param);
void isoweb_ShadeModel(GLenum mode);

// Textures (gl_texture.cpp).
void isoweb_DeleteTextures(GLsizei n, const GLuint* textures);
void isoweb_TexParameteri(GLenum target, GLenum pname, GLint param);
void isoweb_PixelStorei(GLenum pname, GLint param);
void isoweb_TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                       GLsizei height, GLint border, GLenum format, GLenum type,
                       const void* pixels);
