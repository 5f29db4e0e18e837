; The show's material library: the pictures the overlay timeline shows, the console font, and
; the materials made of them. Loaded before data\scr\generic.effect, whose Image and TextFade
; blocks find these pictures by alias.
;
; The pictures are made by the generator (tools/generator, kinds "art" and "font") into
; data\art\ and data\fnt\. Full-screen pictures clamp to their edge texels so no border colour
; creeps in at the screen's rim; the text atlases are drawn one texel per pixel, so they need
; no mipmaps.

; ---------------------------------------------------------------------------------------------
; Console font: white glyphs on clear, 16 cells of 16 x 24 texels per row from "!" on.
; ---------------------------------------------------------------------------------------------
Image {
	Info "console font, RGBA TGA"
	Type 2D
	Format RGBA
	Name "confont.tga"
	Alias "confont"
	State {
		Wrap CLAMP_EDGE_S_CLAMP_EDGE_T
		Filter LINEAR
		Mipmap LINEAR
	}
}

; ---------------------------------------------------------------------------------------------
; Opening title: sharp title (texels 0,0 to 640,160), subtitle line (0,160 to 640,208) and the
; blurred title (0,256 to 640,416) in one 1024 x 512 RGBA picture.
; ---------------------------------------------------------------------------------------------
Image {
	Info "title atlas, RGBA PNG"
	Type 2D
	Format RGBA
	Name "title.png"
	Alias "title"
	State {
		Wrap CLAMP_EDGE_S_CLAMP_EDGE_T
		Filter LINEAR
		Mipmap LINEAR
	}
}

; ---------------------------------------------------------------------------------------------
; Credits: the title row (0,0 to 640,96), the year (0,96 to 640,144) and four rows of 48 texels
; for code, models, graphics and music.
; ---------------------------------------------------------------------------------------------
Image {
	Info "credit lines, RGBA PNG"
	Type 2D
	Format RGBA
	Name "credits.png"
	Alias "credits"
	State {
		Wrap CLAMP_EDGE_S_CLAMP_EDGE_T
		Filter LINEAR
		Mipmap LINEAR
	}
}

; ---------------------------------------------------------------------------------------------
; The interlude's lettering on clear, 1024 x 256: the heading (texels 0,0 to 640,128), its line
; (0,128 to 640,192) and the part mark (0,192 to 640,240). The veil lines the interlude's
; tunnel and repeats both ways; the sheen gives its gold emblem a studio reflection.
; ---------------------------------------------------------------------------------------------
Image {
	Info "interlude lettering, RGBA PNG"
	Type 2D
	Format RGBA
	Name "interlude.png"
	Alias "interlude"
	State {
		Wrap CLAMP_EDGE_S_CLAMP_EDGE_T
		Filter LINEAR
		Mipmap LINEAR
	}
}

Image {
	Info "tunnel veil, JPEG"
	Type 2D
	Format RGB
	Name "veil.jpg"
	Alias "veil"
	State {
		Wrap WRAP_S_WRAP_T
		Filter LINEAR
		Mipmap LINEAR_NEAREST
	}
}

Image {
	Info "studio sheen for sphere-mapped gloss, JPEG"
	Type 2D
	Format RGB
	Name "sheen.jpg"
	Alias "sheen"
	State {
		Wrap CLAMP_EDGE_S_CLAMP_EDGE_T
		Filter LINEAR
		Mipmap LINEAR_LINEAR
		Apply {
			Mode ADD
		}
		Envmap {
			Mode SPHERE
		}
	}
}

; ---------------------------------------------------------------------------------------------
; Soft light and shade: a warm glow with a violet halo (CTX container), and a dark band with
; soft edges laid under text.
; ---------------------------------------------------------------------------------------------
Image {
	Info "glow, RGBA CTX"
	Type 2D
	Format RGBA
	Name "glow.ctx"
	Alias "glow"
	State {
		Wrap CLAMP_EDGE_S_CLAMP_EDGE_T
		Filter LINEAR
		Mipmap LINEAR_LINEAR
	}
}

Image {
	Info "shade band, RGBA PNG"
	Type 2D
	Format RGBA
	Name "shade.png"
	Alias "shade"
	State {
		Wrap CLAMP_EDGE_S_CLAMP_EDGE_T
		Filter LINEAR
		Mipmap LINEAR
	}
}

; ---------------------------------------------------------------------------------------------
; Materials for geometry that carries these pictures (billboards, sprites, title planes).
; ---------------------------------------------------------------------------------------------

; Additive light: the glow picture added to what is behind it, without writing depth.
Shader {
	Name "Glow"
	Blend {
		Enable yes
		Lighting no
		Src ONE
		Dst ONE
	}
	ZBuffer {
		Enable yes
		Write no
	}
	Cull {
		Enable no
	}
	Texture {
		Image "glow"
		TexUnit UNIT0
	}
}

; Lettering over a scene: the title atlas blended by its own alpha.
Shader {
	Name "Title"
	Blend {
		Enable yes
		Lighting no
		Src SRC_ALPHA
		Dst ONE_MINUS_SRC_ALPHA
	}
	ZBuffer {
		Enable no
	}
	Cull {
		Enable no
	}
	Texture {
		Image "title"
		TexUnit UNIT0
	}
}

; The interlude's tunnel lining: the veil, unlit, both faces drawn, fading into the night with
; distance so the far end of the tube is a dark mouth.
Shader {
	Name "Veil"
	Blend {
		Enable no
		Lighting no
	}
	ZBuffer {
		Enable yes
		Write yes
	}
	Cull {
		Enable no
	}
	Fog {
		Enable yes
		Function LINEAR
		Start 20
		End 150
		Color 0.024 0.027 0.055 1
	}
	Texture {
		Image "veil"
		TexUnit UNIT0
	}
}

; The eye emblem and its ring: lit gold with the sheen's reflection added.
Shader {
	Name "EmblemGold"
	Material {
		Enable yes
		Ambient 0.20 0.14 0.05 1
		Diffuse 0.92 0.70 0.40 1
		Specular 1 0.95 0.8 1
		Emission 0.06 0.03 0.0 1
		Shininess 64
	}
	Texture {
		Image "sheen"
		TexUnit UNIT0
	}
}

; Sparks, motes and embers: the glow picture added as light, facing the viewer. They are laid
; over whatever a scene left in the depth buffer (some scenes end on a flat screen pass), so
; they neither test nor write depth.
Shader {
	Name "Spark"
	Blend {
		Enable yes
		Lighting no
		Src SRC_ALPHA
		Dst ONE
	}
	ZBuffer {
		Enable no
	}
	Cull {
		Enable no
	}
	Texture {
		Image "glow"
		TexUnit UNIT0
	}
}

; Lines of light: untextured, added to what is behind them.
Shader {
	Name "LightLine"
	Blend {
		Enable yes
		Lighting no
		Src SRC_ALPHA
		Dst ONE
	}
	ZBuffer {
		Enable no
	}
	Cull {
		Enable no
	}
}

; The ring round the interlude's emblem: the veil's bands and filaments added as light along it.
Shader {
	Name "HaloLight"
	Blend {
		Enable yes
		Lighting no
		Src SRC_ALPHA
		Dst ONE
	}
	ZBuffer {
		Enable no
	}
	Cull {
		Enable no
	}
	Texture {
		Image "veil"
		TexUnit UNIT0
	}
}

; Embers among a scene's own geometry: the glow added as light, hidden behind what the scene
; drew in front of it, writing no depth.
Shader {
	Name "Ember"
	Blend {
		Enable yes
		Lighting no
		Src SRC_ALPHA
		Dst ONE
	}
	ZBuffer {
		Enable yes
		Write no
	}
	Cull {
		Enable no
	}
	Texture {
		Image "glow"
		TexUnit UNIT0
	}
}
