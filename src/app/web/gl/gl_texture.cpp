// Texture uploads in the formats GL 1.1 accepts and WebGL does not: internal
// formats given as a component count (3, 4), GL_BGR/GL_BGRA sources, and
// luminance. Everything is handed to WebGL as RGBA bytes; an internal format
// without alpha gets alpha 255, which is what GL's modulation then sees.
#include "app/web/gl/gl_layer.h"
#include "app/web/gl/gl_web_api.h"

#include <unordered_map>
#include <vector>

namespace isoweb {
namespace {

bool internalHasAlpha(GLint internalFormat) {
    switch (internalFormat) {
    case 2:
    case 4:
    case GL_RGBA:
    case ISOWEB_GL_RGBA8:
    case GL_LUMINANCE_ALPHA:
    case ISOWEB_GL_LUMINANCE8_ALPHA8:
        return true;
    default:
        return false;
    }
}

int sourceComponents(GLenum format) {
    switch (format) {
    case GL_RGB:
    case ISOWEB_GL_BGR:
        return 3;
    case GL_RGBA:
    case ISOWEB_GL_BGRA:
        return 4;
    case GL_LUMINANCE:
        return 1;
    case GL_LUMINANCE_ALPHA:
        return 2;
    default:
        return 0;
    }
}

// One source texel to RGBA, by the source format's byte order.
void toRgba(GLenum format, const unsigned char* p, unsigned char* out) {
    switch (format) {
    case GL_RGB:
        out[0] = p[0], out[1] = p[1], out[2] = p[2], out[3] = 255;
        break;
    case GL_RGBA:
        out[0] = p[0], out[1] = p[1], out[2] = p[2], out[3] = p[3];
        break;
    case ISOWEB_GL_BGR:
        out[0] = p[2], out[1] = p[1], out[2] = p[0], out[3] = 255;
        break;
    case ISOWEB_GL_BGRA:
        out[0] = p[2], out[1] = p[1], out[2] = p[0], out[3] = p[3];
        break;
    case GL_LUMINANCE:
        out[0] = out[1] = out[2] = p[0], out[3] = 255;
        break;
    default: // GL_LUMINANCE_ALPHA
        out[0] = out[1] = out[2] = p[0], out[3] = p[1];
        break;
    }
}

} // namespace

void applyBindTexture(GLuint name) {
    context().state.boundTexture = name;
    glBindTexture(GL_TEXTURE_2D, name);
}

// GL 1.1 turns texturing off for an incomplete texture; WebGL would sample black.
bool textureUsable(GLuint name) {
    const auto& textures = context().textures.byName;
    auto it = textures.find(name);
    if (name == 0 || it == textures.end() || !it->second.hasImage) return false;
    GLint f = it->second.minFilter;
    return f == GL_NEAREST || f == GL_LINEAR || it->second.hasMipmaps;
}

} // namespace isoweb

using namespace isoweb;

void isoweb_DeleteTextures(GLsizei n, const GLuint* names) {
    Context& c = context();
    for (GLsizei i = 0; i < n; i++) {
        c.textures.byName.erase(names[i]);
        if (c.state.boundTexture == names[i]) c.state.boundTexture = 0;
    }
    glDeleteTextures(n, names);
}

void isoweb_TexParameteri(GLenum target, GLenum pname, GLint param) {
    if (target == GL_TEXTURE_2D && pname == GL_TEXTURE_MIN_FILTER)
        context().textures.byName[context().state.boundTexture].minFilter = param;
    glTexParameteri(target, pname, param);
}

void isoweb_PixelStorei(GLenum pname, GLint param) {
    if (pname == GL_UNPACK_ALIGNMENT)
        context().textures.unpackAlignment = param;
    else
        glPixelStorei(pname, param);
}

void isoweb_TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                       GLsizei height, GLint border, GLenum format, GLenum type,
                       const void* pixels) {
    int comps = sourceComponents(format);
    if (target != GL_TEXTURE_2D || border != 0 || type != GL_UNSIGNED_BYTE || comps == 0 ||
        width < 0 || height < 0)
        return warnOnce("glTexImage2D with a target, border, type or format not supported");
    bool alpha = internalHasAlpha(internalFormat);
    std::vector<unsigned char> rgba((size_t)width * (size_t)height * 4);
    if (pixels) {
        const unsigned char* src = static_cast<const unsigned char*>(pixels);
        size_t rowBytes = (size_t)width * (size_t)comps;
        GLint unpackAlignment = context().textures.unpackAlignment;
        size_t a = (size_t)(unpackAlignment > 0 ? unpackAlignment : 1);
        size_t stride = (rowBytes + a - 1) / a * a;
        for (GLsizei y = 0; y < height; y++)
            for (GLsizei x = 0; x < width; x++) {
                unsigned char* out = &rgba[((size_t)y * (size_t)width + (size_t)x) * 4];
                toRgba(format, src + (size_t)y * stride + (size_t)x * (size_t)comps, out);
                if (!alpha) out[3] = 255;
            }
    }
    // Our rows are tightly packed RGBA, 4-byte aligned whatever the caller set.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 rgba.data());
    TextureInfo& info = context().textures.byName[context().state.boundTexture];
    if (level == 0) info.hasImage = true;
    if (level > 0) info.hasMipmaps = true;
}
