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
; The interlude card, 640 x 480, shown full screen between the water and the tunnel.
; ---------------------------------------------------------------------------------------------
Image {
	Info "interlude card, JPEG"
	Type 2D
	Format RGB
	Name "interlude.jpg"
	Alias "interlude"
	State {
		Wrap CLAMP_EDGE_S_CLAMP_EDGE_T
		Filter LINEAR
		Mipmap LINEAR
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
