; The alien morph scene's materials: glossy living matter for the metaballs and the light that
; runs down the beam tunnel around them.
;
; The pictures are made by the generator (tools/generator, kind "alien") into data\art\.

; ---------------------------------------------------------------------------------------------
; The metaballs' skin: a sphere map of a hot violet world (ember rim, frost highlight, faint
; veins), generated per vertex from the surface normals, so the blobs look wet and reflective.
; ---------------------------------------------------------------------------------------------
Image {
	Info "metaball skin, sphere map, JPEG"
	Type 2D
	Format RGB
	Name "alien_skin.jpg"
	Alias "alien_skin"
	State {
		Wrap CLAMP_EDGE_S_CLAMP_EDGE_T
		Filter LINEAR
		Mipmap LINEAR_LINEAR
		Envmap {
			Mode SPHERE
		}
		Apply {
			Mode MODULATE
		}
	}
}

; ---------------------------------------------------------------------------------------------
; Light streaks: along u the pulses (the scene scrolls u with its wave phase), across v two
; bands, one per pair of beam faces. Black is clear, since the beams are added.
; ---------------------------------------------------------------------------------------------
Image {
	Info "beam light streaks, JPEG"
	Type 2D
	Format RGB
	Name "alien_wave.jpg"
	Alias "alien_wave"
	State {
		Wrap WRAP_S_WRAP_T
		Filter LINEAR
		Mipmap LINEAR_NEAREST
	}
}

; The metaballs: lit from the viewer, a tight white highlight over the reflected skin.
Shader {
	Name "AlienMetaballs"
	ZBuffer {
		Enable yes
		Write yes
		Function LEQUAL
	}
	Cull {
		Enable yes
		Function BACK
		Winding CCW
	}
	Material {
		Enable yes
		Ambient 0.5 0.45 0.6 1
		Diffuse 1 1 1 1
		Specular 1 0.95 0.9 1
		Shininess 48
	}
	Texture {
		Image "alien_skin"
		TexUnit UNIT0
	}
}

; The beams: light added over the picture, seen from inside the tubes, writing no depth so the
; metaballs and the later beams all show through.
Shader {
	Name "AlienWave"
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
		Image "alien_wave"
		TexUnit UNIT0
	}
}
