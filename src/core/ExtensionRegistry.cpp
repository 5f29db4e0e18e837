#include "core/ExtensionRegistry.h"

#include "core/Log.h"
#include "platform/GLContext.h"

#include <cstring>
#include <sstream>
#include <vector>

namespace ext {
bool gl_ARB_window_pos = false;
bool gl_ARB_multisample = false;
bool gl_ARB_multitexture = false;
bool gl_ARB_texture_compression = false;
bool gl_ARB_vertex_blend = false;
bool gl_ARB_transpose_matrix = false;
bool gl_ARB_vertex_program = false;
bool gl_ARB_fragment_program = false;
bool gl_EXT_vertex_array = false;
bool gl_EXT_compiled_vertex_array = false;
bool gl_EXT_texture_object = false;
bool gl_EXT_fog_coord = false;
bool gl_EXT_secondary_color = false;
bool gl_EXT_draw_range_elements = false;
bool gl_EXT_multi_draw_arrays = false;
bool gl_EXT_texture3D = false;
bool gl_EXT_point_parameters = false;
bool gl_ARB_point_parameters = false;
bool gl_EXT_vertex_shader = false;
bool gl_EXT_blend_minmax = false;
bool gl_EXT_blend_func_separate = false;
bool gl_EXT_blend_color = false;
bool gl_ATI_envmap_bumpmap = false;
bool gl_ATI_fragment_shader = false;
bool gl_ATI_vertex_array_object = false;
bool gl_ATI_element_array = false;
bool gl_ATI_vertex_attrib_array_object = false;
bool gl_ATI_pn_triangles = false;
bool gl_ATI_vertex_streams = false;
bool gl_ATI_separate_stencil = false;
bool gl_ATI_draw_buffers = false;
bool gl_NV_occlusion_query = false;
bool gl_SGIS_multitexture = false;
bool gl_WIN_swap_hint = false;
bool gl_KTX_buffer_region = false;
bool gl_ARB_depth_texture = false;
bool gl_ARB_shadow = false;
bool gl_ARB_shadow_ambient = false;
bool gl_ARB_texture_border_clamp = false;
bool gl_ARB_texture_cube_map = false;
bool gl_ARB_texture_env_add = false;
bool gl_ARB_texture_env_combine = false;
bool gl_ARB_texture_env_crossbar = false;
bool gl_ARB_texture_env_dot3 = false;
bool gl_EXT_abgr = false;
bool gl_EXT_bgra = false;
bool gl_EXT_blend_subtract = false;
bool gl_EXT_clip_volume_hint = false;
bool gl_EXT_packed_pixels = false;
bool gl_EXT_rescale_normal = false;
bool gl_EXT_separate_specular_color = false;
bool gl_EXT_texgen_reflection = false;
bool gl_EXT_texture_cube_map = false;
bool gl_EXT_texture_compression_s3tc = false;
bool gl_EXT_texture_edge_clamp = false;
bool gl_EXT_texture_env_add = false;
bool gl_EXT_texture_env_combine = false;
bool gl_EXT_texture_env_dot3 = false;
bool gl_EXT_texture_filter_anisotropic = false;
bool gl_EXT_stencil_wrap = false;
bool gl_EXT_texture_rectangle = false;
bool gl_ATI_texture_mirror_once = false;
bool gl_ATI_texture_float = false;
bool gl_ATI_texture_env_combine3 = false;
bool gl_ATIX_texture_env_route = false;
bool gl_ATIX_vertex_shader_output_point_size = false;
bool gl_NV_texgen_reflection = false;
bool gl_NV_blend_square = false;
bool gl_HP_occlusion_test = false;
bool gl_S3_s3tc = false;
bool gl_SGI_texture_edge_clamp = false;
bool gl_SGIS_generate_mipmap = false;
bool gl_SGIS_texture_border_clamp = false;
bool gl_SGIS_texture_lod = false;
bool wgl_ARB_extensions_string = false;
bool wgl_EXT_extensions_string = false;
bool wgl_EXT_swap_control = false;
bool wgl_ARB_pixel_format = false;
bool wgl_ARB_make_current_read = false;
bool wgl_ARB_pbuffer = false;
bool wgl_ARB_render_texture = false;
bool wgl_ARB_multisample = false;
bool wgl_ATI_pixel_format_float = false;
bool gl_ARB_framebuffer_object = false;
PFNGLSAMPLECOVERAGEARBPROC glSampleCoverageARB = nullptr;
PFNGLACTIVETEXTUREARBPROC glActiveTextureARB = nullptr;
PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB = nullptr;
PFNGLMULTITEXCOORD1DARBPROC glMultiTexCoord1dARB = nullptr;
PFNGLMULTITEXCOORD1DVARBPROC glMultiTexCoord1dvARB = nullptr;
PFNGLMULTITEXCOORD1FARBPROC glMultiTexCoord1fARB = nullptr;
PFNGLMULTITEXCOORD1FVARBPROC glMultiTexCoord1fvARB = nullptr;
PFNGLMULTITEXCOORD1IARBPROC glMultiTexCoord1iARB = nullptr;
PFNGLMULTITEXCOORD1IVARBPROC glMultiTexCoord1ivARB = nullptr;
PFNGLMULTITEXCOORD1SARBPROC glMultiTexCoord1sARB = nullptr;
PFNGLMULTITEXCOORD1SVARBPROC glMultiTexCoord1svARB = nullptr;
PFNGLMULTITEXCOORD2DARBPROC glMultiTexCoord2dARB = nullptr;
PFNGLMULTITEXCOORD2DVARBPROC glMultiTexCoord2dvARB = nullptr;
PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB = nullptr;
PFNGLMULTITEXCOORD2FVARBPROC glMultiTexCoord2fvARB = nullptr;
PFNGLMULTITEXCOORD2IARBPROC glMultiTexCoord2iARB = nullptr;
PFNGLMULTITEXCOORD2IVARBPROC glMultiTexCoord2ivARB = nullptr;
PFNGLMULTITEXCOORD2SARBPROC glMultiTexCoord2sARB = nullptr;
PFNGLMULTITEXCOORD2SVARBPROC glMultiTexCoord2svARB = nullptr;
PFNGLMULTITEXCOORD3DARBPROC glMultiTexCoord3dARB = nullptr;
PFNGLMULTITEXCOORD3DVARBPROC glMultiTexCoord3dvARB = nullptr;
PFNGLMULTITEXCOORD3FARBPROC glMultiTexCoord3fARB = nullptr;
PFNGLMULTITEXCOORD3FVARBPROC glMultiTexCoord3fvARB = nullptr;
PFNGLMULTITEXCOORD3IARBPROC glMultiTexCoord3iARB = nullptr;
PFNGLMULTITEXCOORD3IVARBPROC glMultiTexCoord3ivARB = nullptr;
PFNGLMULTITEXCOORD3SARBPROC glMultiTexCoord3sARB = nullptr;
PFNGLMULTITEXCOORD3SVARBPROC glMultiTexCoord3svARB = nullptr;
PFNGLMULTITEXCOORD4DARBPROC glMultiTexCoord4dARB = nullptr;
PFNGLMULTITEXCOORD4DVARBPROC glMultiTexCoord4dvARB = nullptr;
PFNGLMULTITEXCOORD4FARBPROC glMultiTexCoord4fARB = nullptr;
PFNGLMULTITEXCOORD4FVARBPROC glMultiTexCoord4fvARB = nullptr;
PFNGLMULTITEXCOORD4IARBPROC glMultiTexCoord4iARB = nullptr;
PFNGLMULTITEXCOORD4IVARBPROC glMultiTexCoord4ivARB = nullptr;
PFNGLMULTITEXCOORD4SARBPROC glMultiTexCoord4sARB = nullptr;
PFNGLMULTITEXCOORD4SVARBPROC glMultiTexCoord4svARB = nullptr;
PFNGLCOMPRESSEDTEXIMAGE3DARBPROC glCompressedTexImage3DARB = nullptr;
PFNGLCOMPRESSEDTEXIMAGE2DARBPROC glCompressedTexImage2DARB = nullptr;
PFNGLCOMPRESSEDTEXIMAGE1DARBPROC glCompressedTexImage1DARB = nullptr;
PFNGLCOMPRESSEDTEXSUBIMAGE3DARBPROC glCompressedTexSubImage3DARB = nullptr;
PFNGLCOMPRESSEDTEXSUBIMAGE2DARBPROC glCompressedTexSubImage2DARB = nullptr;
PFNGLCOMPRESSEDTEXSUBIMAGE1DARBPROC glCompressedTexSubImage1DARB = nullptr;
PFNGLGETCOMPRESSEDTEXIMAGEARBPROC glGetCompressedTexImageARB = nullptr;
PFNGLLOADTRANSPOSEMATRIXFARBPROC glLoadTransposeMatrixfARB = nullptr;
PFNGLLOADTRANSPOSEMATRIXDARBPROC glLoadTransposeMatrixdARB = nullptr;
PFNGLMULTTRANSPOSEMATRIXFARBPROC glMultTransposeMatrixfARB = nullptr;
PFNGLMULTTRANSPOSEMATRIXDARBPROC glMultTransposeMatrixdARB = nullptr;
PFNGLLOCKARRAYSEXTPROC glLockArraysEXT = nullptr;
PFNGLUNLOCKARRAYSEXTPROC glUnlockArraysEXT = nullptr;
PFNGLDRAWRANGEELEMENTSEXTPROC glDrawRangeElementsEXT = nullptr;
PFNGLTEXIMAGE3DEXTPROC glTexImage3DEXT = nullptr;
PFNGLTEXSUBIMAGE3DEXTPROC glTexSubImage3DEXT = nullptr;
PFNGLPOINTPARAMETERFEXTPROC glPointParameterfEXT = nullptr;
PFNGLPOINTPARAMETERFVEXTPROC glPointParameterfvEXT = nullptr;
PFNGLPOINTPARAMETERFARBPROC glPointParameterfARB = nullptr;
PFNGLPOINTPARAMETERFVARBPROC glPointParameterfvARB = nullptr;
PFNGLBINDVERTEXSHADEREXTPROC glBindVertexShaderEXT = nullptr;
PFNGLDELETEVERTEXSHADEREXTPROC glDeleteVertexShaderEXT = nullptr;
PFNGLBLENDEQUATIONEXTPROC glBlendEquationEXT = nullptr;
PFNGLBLENDFUNCSEPARATEEXTPROC glBlendFuncSeparateEXT = nullptr;
PFNGLBLENDCOLOREXTPROC glBlendColorEXT = nullptr;
PFNGLBINDFRAGMENTSHADERATIPROC glBindFragmentShaderATI = nullptr;
PFNGLDELETEFRAGMENTSHADERATIPROC glDeleteFragmentShaderATI = nullptr;
PFNGLGENFRAMEBUFFERSPROC glGenFramebuffers = nullptr;
PFNGLDELETEFRAMEBUFFERSPROC glDeleteFramebuffers = nullptr;
PFNGLBINDFRAMEBUFFERPROC glBindFramebuffer = nullptr;
PFNGLFRAMEBUFFERTEXTURE2DPROC glFramebufferTexture2D = nullptr;
PFNGLGENRENDERBUFFERSPROC glGenRenderbuffers = nullptr;
PFNGLDELETERENDERBUFFERSPROC glDeleteRenderbuffers = nullptr;
PFNGLBINDRENDERBUFFERPROC glBindRenderbuffer = nullptr;
PFNGLRENDERBUFFERSTORAGEPROC glRenderbufferStorage = nullptr;
PFNGLFRAMEBUFFERRENDERBUFFERPROC glFramebufferRenderbuffer = nullptr;
PFNGLCHECKFRAMEBUFFERSTATUSPROC glCheckFramebufferStatus = nullptr;
PFNGLRENDERBUFFERSTORAGEMULTISAMPLEPROC glRenderbufferStorageMultisample = nullptr;
PFNGLBLITFRAMEBUFFERPROC glBlitFramebuffer = nullptr;
} // namespace ext

const char* const kLoggedExtensions =
    "WGL_ARB_extensions_string WGL_ARB_pbuffer WGL_ARB_render_texture WGL_ARB_make_current_read WGL_ARB_pixel_format WGL_EXT_swap_control GL_ARB_multitexture GL_ARB_transpose_matrix GL_ARB_multisample GL_ARB_texture_env_add GL_ARB_texture_cube_map GL_ARB_texture_compression GL_ARB_texture_border_clamp GL_ARB_point_parameters GL_ARB_vertex_blend GL_ARB_texture_env_combine GL_ARB_texture_env_crossbar GL_ARB_texture_env_dot3 GL_ARB_texture_mirrored_repeat GL_ARB_depth_texture GL_ARB_shadow GL_ARB_shadow_ambient GL_ARB_window_pos GL_ARB_vertex_program GL_ARB_fragment_program GL_EXT_vertex_array GL_EXT_compiled_vertex_array GL_EXT_texture_object GL_EXT_fog_coord GL_EXT_secondary_color GL_EXT_draw_range_elements GL_EXT_texture3D GL_EXT_point_parameters GL_EXT_vertex_shader GL_EXT_blend_minmax GL_EXT_blend_func_separate GL_EXT_blend_func_subtract GL_EXT_blend_color GL_EXT_texture_rectangle GL_ATI_vertex_streams GL_ATI_envmap_bumpmap GL_ATI_vertex_array_object GL_ATI_element_array GL_ATI_fragment_shader GL_NV_blend_square GL_NV_texgen_reflection";

namespace {

enum class Source { GL, WGL, ExtString };

struct EntryPoint {
    const char* name;
    void** slot;
};

struct KnownExtension {
    const char* name;
    Source source;
    bool* flag;
    std::vector<EntryPoint> entryPoints;
};

#define EP(fn) EntryPoint{#fn, reinterpret_cast<void**>(&ext::fn)}

// Checked in this order; the first exact name match decides. Entry points that nothing in the
// program calls are reduced to the extension's flag.
const std::vector<KnownExtension>& knownExtensions()
{
    static const std::vector<KnownExtension> table = {
        {"GL_ARB_window_pos", Source::GL, &ext::gl_ARB_window_pos, {}},
        {"GL_ARB_multisample", Source::GL, &ext::gl_ARB_multisample, {EP(glSampleCoverageARB)}},
        {"GL_ARB_multitexture", Source::GL, &ext::gl_ARB_multitexture, {EP(glActiveTextureARB), EP(glClientActiveTextureARB), EP(glMultiTexCoord1dARB), EP(glMultiTexCoord1dvARB), EP(glMultiTexCoord1fARB), EP(glMultiTexCoord1fvARB), EP(glMultiTexCoord1iARB), EP(glMultiTexCoord1ivARB), EP(glMultiTexCoord1sARB), EP(glMultiTexCoord1svARB), EP(glMultiTexCoord2dARB), EP(glMultiTexCoord2dvARB), EP(glMultiTexCoord2fARB), EP(glMultiTexCoord2fvARB), EP(glMultiTexCoord2iARB), EP(glMultiTexCoord2ivARB), EP(glMultiTexCoord2sARB), EP(glMultiTexCoord2svARB), EP(glMultiTexCoord3dARB), EP(glMultiTexCoord3dvARB), EP(glMultiTexCoord3fARB), EP(glMultiTexCoord3fvARB), EP(glMultiTexCoord3iARB), EP(glMultiTexCoord3ivARB), EP(glMultiTexCoord3sARB), EP(glMultiTexCoord3svARB), EP(glMultiTexCoord4dARB), EP(glMultiTexCoord4dvARB), EP(glMultiTexCoord4fARB), EP(glMultiTexCoord4fvARB), EP(glMultiTexCoord4iARB), EP(glMultiTexCoord4ivARB), EP(glMultiTexCoord4sARB), EP(glMultiTexCoord4svARB)}},
        {"GL_ARB_texture_compression", Source::GL, &ext::gl_ARB_texture_compression, {EP(glCompressedTexImage3DARB), EP(glCompressedTexImage2DARB), EP(glCompressedTexImage1DARB), EP(glCompressedTexSubImage3DARB), EP(glCompressedTexSubImage2DARB), EP(glCompressedTexSubImage1DARB), EP(glGetCompressedTexImageARB)}},
        {"GL_ARB_vertex_blend", Source::GL, &ext::gl_ARB_vertex_blend, {}},
        {"GL_ARB_transpose_matrix", Source::GL, &ext::gl_ARB_transpose_matrix, {EP(glLoadTransposeMatrixfARB), EP(glLoadTransposeMatrixdARB), EP(glMultTransposeMatrixfARB), EP(glMultTransposeMatrixdARB)}},
        {"GL_ARB_vertex_program", Source::GL, &ext::gl_ARB_vertex_program, {}},
        {"GL_ARB_fragment_program", Source::GL, &ext::gl_ARB_fragment_program, {}},
        {"GL_EXT_vertex_array", Source::GL, &ext::gl_EXT_vertex_array, {}},
        {"GL_EXT_compiled_vertex_array", Source::GL, &ext::gl_EXT_compiled_vertex_array, {EP(glLockArraysEXT), EP(glUnlockArraysEXT)}},
        {"GL_EXT_texture_object", Source::GL, &ext::gl_EXT_texture_object, {}},
        {"GL_EXT_fog_coord", Source::GL, &ext::gl_EXT_fog_coord, {}},
        {"GL_EXT_secondary_color", Source::GL, &ext::gl_EXT_secondary_color, {}},
        {"GL_EXT_draw_range_elements", Source::GL, &ext::gl_EXT_draw_range_elements, {EP(glDrawRangeElementsEXT)}},
        {"GL_EXT_multi_draw_arrays", Source::GL, &ext::gl_EXT_multi_draw_arrays, {}},
        {"GL_EXT_texture3D", Source::GL, &ext::gl_EXT_texture3D, {EP(glTexImage3DEXT), EP(glTexSubImage3DEXT)}},
        {"GL_EXT_point_parameters", Source::GL, &ext::gl_EXT_point_parameters, {EP(glPointParameterfEXT), EP(glPointParameterfvEXT)}},
        {"GL_ARB_point_parameters", Source::GL, &ext::gl_ARB_point_parameters, {EP(glPointParameterfARB), EP(glPointParameterfvARB)}},
        {"GL_EXT_vertex_shader", Source::GL, &ext::gl_EXT_vertex_shader, {EP(glBindVertexShaderEXT), EP(glDeleteVertexShaderEXT)}},
        {"GL_EXT_blend_minmax", Source::GL, &ext::gl_EXT_blend_minmax, {EP(glBlendEquationEXT)}},
        {"GL_EXT_blend_func_separate", Source::GL, &ext::gl_EXT_blend_func_separate, {EP(glBlendFuncSeparateEXT)}},
        {"GL_EXT_blend_color", Source::GL, &ext::gl_EXT_blend_color, {EP(glBlendColorEXT)}},
        {"GL_ATI_envmap_bumpmap", Source::GL, &ext::gl_ATI_envmap_bumpmap, {}},
        {"GL_ATI_fragment_shader", Source::GL, &ext::gl_ATI_fragment_shader, {EP(glBindFragmentShaderATI), EP(glDeleteFragmentShaderATI)}},
        {"GL_ATI_vertex_array_object", Source::GL, &ext::gl_ATI_vertex_array_object, {}},
        {"GL_ATI_element_array", Source::GL, &ext::gl_ATI_element_array, {}},
        {"GL_ATI_vertex_attrib_array_object", Source::GL, &ext::gl_ATI_vertex_attrib_array_object, {}},
        {"GL_ATI_pn_triangles", Source::GL, &ext::gl_ATI_pn_triangles, {}},
        {"GL_ATI_vertex_streams", Source::GL, &ext::gl_ATI_vertex_streams, {}},
        {"GL_ATI_separate_stencil", Source::GL, &ext::gl_ATI_separate_stencil, {}},
        {"GL_ATI_draw_buffers", Source::GL, &ext::gl_ATI_draw_buffers, {}},
        {"GL_NV_occlusion_query", Source::GL, &ext::gl_NV_occlusion_query, {}},
        {"GL_SGIS_multitexture", Source::GL, &ext::gl_SGIS_multitexture, {}},
        {"GL_WIN_swap_hint", Source::GL, &ext::gl_WIN_swap_hint, {}},
        {"GL_KTX_buffer_region", Source::GL, &ext::gl_KTX_buffer_region, {}},
        {"GL_ARB_depth_texture", Source::GL, &ext::gl_ARB_depth_texture, {}},
        {"GL_ARB_shadow", Source::GL, &ext::gl_ARB_shadow, {}},
        {"GL_ARB_shadow_ambient", Source::GL, &ext::gl_ARB_shadow_ambient, {}},
        {"GL_ARB_texture_border_clamp", Source::GL, &ext::gl_ARB_texture_border_clamp, {}},
        {"GL_ARB_texture_cube_map", Source::GL, &ext::gl_ARB_texture_cube_map, {}},
        {"GL_ARB_texture_env_add", Source::GL, &ext::gl_ARB_texture_env_add, {}},
        {"GL_ARB_texture_env_combine", Source::GL, &ext::gl_ARB_texture_env_combine, {}},
        {"GL_ARB_texture_env_crossbar", Source::GL, &ext::gl_ARB_texture_env_crossbar, {}},
        {"GL_ARB_texture_env_dot3", Source::GL, &ext::gl_ARB_texture_env_dot3, {}},
        {"GL_EXT_abgr", Source::GL, &ext::gl_EXT_abgr, {}},
        {"GL_EXT_bgra", Source::GL, &ext::gl_EXT_bgra, {}},
        {"GL_EXT_blend_subtract", Source::GL, &ext::gl_EXT_blend_subtract, {}},
        {"GL_EXT_clip_volume_hint", Source::GL, &ext::gl_EXT_clip_volume_hint, {}},
        {"GL_EXT_packed_pixels", Source::GL, &ext::gl_EXT_packed_pixels, {}},
        {"GL_EXT_rescale_normal", Source::GL, &ext::gl_EXT_rescale_normal, {}},
        {"GL_EXT_separate_specular_color", Source::GL, &ext::gl_EXT_separate_specular_color, {}},
        {"GL_EXT_texgen_reflection", Source::GL, &ext::gl_EXT_texgen_reflection, {}},
        {"GL_EXT_texture_cube_map", Source::GL, &ext::gl_EXT_texture_cube_map, {}},
        {"GL_EXT_texture_compression_s3tc", Source::GL, &ext::gl_EXT_texture_compression_s3tc, {}},
        {"GL_EXT_texture_edge_clamp", Source::GL, &ext::gl_EXT_texture_edge_clamp, {}},
        {"GL_EXT_texture_env_add", Source::GL, &ext::gl_EXT_texture_env_add, {}},
        {"GL_EXT_texture_env_combine", Source::GL, &ext::gl_EXT_texture_env_combine, {}},
        {"GL_EXT_texture_env_dot3", Source::GL, &ext::gl_EXT_texture_env_dot3, {}},
        {"GL_EXT_texture_filter_anisotropic", Source::GL, &ext::gl_EXT_texture_filter_anisotropic, {}},
        {"GL_EXT_stencil_wrap", Source::GL, &ext::gl_EXT_stencil_wrap, {}},
        {"GL_EXT_texture_rectangle", Source::GL, &ext::gl_EXT_texture_rectangle, {}},
        {"GL_ATI_texture_mirror_once", Source::GL, &ext::gl_ATI_texture_mirror_once, {}},
        {"GL_ATI_texture_float", Source::GL, &ext::gl_ATI_texture_float, {}},
        {"GL_ATI_texture_env_combine3", Source::GL, &ext::gl_ATI_texture_env_combine3, {}},
        {"GL_ATIX_texture_env_route", Source::GL, &ext::gl_ATIX_texture_env_route, {}},
        {"GL_ATIX_vertex_shader_output_point_size", Source::GL, &ext::gl_ATIX_vertex_shader_output_point_size, {}},
        {"GL_NV_texgen_reflection", Source::GL, &ext::gl_NV_texgen_reflection, {}},
        {"GL_NV_blend_square", Source::GL, &ext::gl_NV_blend_square, {}},
        {"GL_HP_occlusion_test", Source::GL, &ext::gl_HP_occlusion_test, {}},
        {"GL_S3_s3tc", Source::GL, &ext::gl_S3_s3tc, {}},
        {"GL_SGI_texture_edge_clamp", Source::GL, &ext::gl_SGI_texture_edge_clamp, {}},
        {"GL_SGIS_generate_mipmap", Source::GL, &ext::gl_SGIS_generate_mipmap, {}},
        {"GL_SGIS_texture_border_clamp", Source::GL, &ext::gl_SGIS_texture_border_clamp, {}},
        {"GL_SGIS_texture_lod", Source::GL, &ext::gl_SGIS_texture_lod, {}},
        {"WGL_ARB_extensions_string", Source::ExtString, &ext::wgl_ARB_extensions_string, {}},
        {"WGL_EXT_extensions_string", Source::ExtString, &ext::wgl_EXT_extensions_string, {}},
        {"WGL_EXT_swap_control", Source::WGL, &ext::wgl_EXT_swap_control, {}},
        {"WGL_ARB_pixel_format", Source::WGL, &ext::wgl_ARB_pixel_format, {}},
        {"WGL_ARB_make_current_read", Source::WGL, &ext::wgl_ARB_make_current_read, {}},
        {"WGL_ARB_pbuffer", Source::WGL, &ext::wgl_ARB_pbuffer, {}},
        {"WGL_ARB_render_texture", Source::WGL, &ext::wgl_ARB_render_texture, {}},
        {"WGL_ARB_multisample", Source::WGL, &ext::wgl_ARB_multisample, {}},
        {"WGL_ATI_pixel_format_float", Source::WGL, &ext::wgl_ATI_pixel_format_float, {}},
        {"GL_ARB_framebuffer_object", Source::GL, &ext::gl_ARB_framebuffer_object, {EP(glGenFramebuffers), EP(glDeleteFramebuffers), EP(glBindFramebuffer), EP(glFramebufferTexture2D), EP(glGenRenderbuffers), EP(glDeleteRenderbuffers), EP(glBindRenderbuffer), EP(glRenderbufferStorage), EP(glFramebufferRenderbuffer), EP(glCheckFramebufferStatus), EP(glRenderbufferStorageMultisample), EP(glBlitFramebuffer)}},
    };
    return table;
}

#undef EP

// Window-system entry points (wglGetExtensionsStringARB and the like) do not exist on this
// platform; their names are looked up all the same, so a registry on a driver that did offer
// them would report them.
bool fetchAll(const std::vector<EntryPoint>& entryPoints)
{
    for (const EntryPoint& ep : entryPoints) {
        void* address = platform::getProcAddress(ep.name);
        if (!address)
            return false;
        *ep.slot = address;
    }
    return true;
}

std::string glExtensionString()
{
    const GLubyte* s = glGetString(GL_EXTENSIONS);
    return s ? reinterpret_cast<const char*>(s) : "";
}

} // namespace

bool hasExtension(const char* list, const char* name)
{
    if (!list || !name || !*name || std::strchr(name, ' '))
        return false;
    const size_t length = std::strlen(name);
    const char* start = list;
    while (const char* hit = std::strstr(start, name)) {
        const bool startsWord = hit == list || hit[-1] == ' ';
        const bool endsWord = hit[length] == ' ' || hit[length] == '\0';
        if (startsWord && endsWord)
            return true;
        start = hit + 1;
    }
    return false;
}

bool initExtension(const char* name)
{
    if (!name)
        return false;
    const std::string glString = glExtensionString();
    // The window system's string stands where the WGL string stood; WGL names are never in it.
    const std::string wsString = platform::windowSystemExtensions();
    for (const KnownExtension& known : knownExtensions()) {
        if (std::strcmp(known.name, name) != 0)
            continue;
        switch (known.source) {
        case Source::GL:
            if (!hasExtension(glString.c_str(), name))
                return false;
            break;
        case Source::WGL:
            if (wsString.empty() || !hasExtension(wsString.c_str(), name))
                return false;
            break;
        case Source::ExtString: {
            // Supported when the string-query entry point exists.
            const char* fn = std::strcmp(name, "WGL_ARB_extensions_string") == 0
                                 ? "wglGetExtensionsStringARB"
                                 : "wglGetExtensionsStringEXT";
            if (!platform::getProcAddress(fn))
                return false;
            *known.flag = true;
            return true;
        }
        }
        if (!fetchAll(known.entryPoints))
            return false;
        *known.flag = true;
        return true;
    }
    return hasExtension(glString.c_str(), name) || hasExtension(wsString.c_str(), name);
}

void logExtensions()
{
    logBeginSection("Extensions");
    std::istringstream names(kLoggedExtensions);
    std::string name;
    while (names >> name)
        logPrint(initExtension(name.c_str()) ? "%-32s\tSUCCESS" : "%-32s\tFAILED", name.c_str());
    logEndSection("Extensions");
}

bool initExtensions(const char* list, std::string* missing)
{
    std::istringstream names(list ? list : "");
    std::string name;
    bool all = true;
    while (names >> name) {
        if (!initExtension(name.c_str())) {
            all = false;
            if (missing)
                *missing += (missing->empty() ? "" : " ") + name;
        }
    }
    return all;
}
