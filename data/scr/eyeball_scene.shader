; The eyeball scene's materials: the eye itself (its colours are the mesh's vertex colours), the
; wet gloss over the iris, and the creature's flesh. The meshes name these materials; the flesh
; borrows the metaballs' skin picture from data\scr\alienscene.shader, loaded just before.
;
; The gloss picture and the meshes are made by the generator (tools/generator, kind "alien").

Image {
	Info "eye gloss, sphere map, JPEG"
	Type 2D
	Format RGB
	Name "eye_gloss.jpg"
	Alias "eye_gloss"
	State {
		Wrap CLAMP_EDGE_S_CLAMP_EDGE_T
		Filter LINEAR
		Mipmap LINEAR
		Envmap {
			Mode SPHERE
		}
		Apply {
			Mode MODULATE
		}
	}
}

; Sclera, iris and pupil: the mesh's vertex colours, lit (no Material block, so the colours
; track the vertices).
Shader {
	Name "EyeBall"
	ZBuffer {
		Enable yes
		Write yes
	}
	Cull {
		Enable yes
	}
}

; The cornea: reflected highlights added over the iris.
Shader {
	Name "EyeCornea"
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
		Enable yes
	}
	Texture {
		Image "eye_gloss"
		TexUnit UNIT0
	}
}

; Shell and tentacles: the violet skin over their lit vertex colours; seen from both sides, since the
; shell opens around the eye.
Shader {
	Name "EyeFlesh"
	ZBuffer {
		Enable yes
		Write yes
	}
	Cull {
		Enable no
	}
	Texture {
		Image "alien_skin"
		TexUnit UNIT0
	}
}
