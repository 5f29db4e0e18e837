; Materials of the water scene: the refracted pool under the surface, its stone deck and the
; gold star above it.

Image {
	Info "studio sheen for sphere-mapped gloss, JPEG"
	Type 2D
	Format RGB
	Name "sheen.jpg"
	Alias "sheen"
	State {
		Wrap CLAMP_EDGE_S_CLAMP_EDGE_T
		Filter LINEAR
		Mipmap LINEAR_NEAREST
		Apply {
			Mode ADD
		}
		Envmap {
			Mode SPHERE
		}
	}
}

Image {
	Info "cellar stone, JPEG"
	Type 2D
	Format RGB
	Name "stone.jpg"
	Alias "stone"
	State {
		Wrap WRAP_S_WRAP_T
		Filter LINEAR
		Mipmap LINEAR_NEAREST
	}
}

; What the water mirrors: a tileable night sky with amber lamp streaks. Its coordinates are the
; surface points themselves (x and z across the pool, the ripple height y pushing them about);
; the surface's projective matrix on unit 0 turns them into a picture that slides as the camera
; moves and wobbles with every wave.
Image {
	Info "the sky mirrored by the water, tileable, JPEG"
	Type 2D
	Format RGB
	Name "water-sky.jpg"
	Alias "watersky"
	State {
		Wrap WRAP_S_WRAP_T
		Filter LINEAR
		Mipmap LINEAR_NEAREST
		Apply {
			Mode REPLACE
		}
		Envmap {
			Mode OBJECT
			PlaneS 0.8 9 0 0
			PlaneT 0 9 0.8 0
		}
	}
}

; The pool unfolded, seen through the water on unit 1 along the refracted rays. Unit 1 mixes it
; with the mirrored sky of unit 0 by the surface's view-angle shade (the Fresnel term: little
; mirror looking straight down, mostly mirror at a grazing view).
Image {
	Info "the pool unfolded: floor in the centre, walls around it, with caustics, JPEG"
	Type 2D
	Format RGB
	Name "pool.jpg"
	Alias "pool"
	State {
		Wrap WRAP_S_WRAP_T
		Filter LINEAR
		Mipmap LINEAR_NEAREST
		Apply {
			Mode COMBINE
			Func.RGB INTERPOLATE
			Src0.RGB TEXTURE0
			Op0.RGB SRC_COLOR
			Src1.RGB TEXTURE
			Op1.RGB SRC_COLOR
			Src2.RGB PRIMARY_COLOR
			Op2.RGB SRC_COLOR
		}
	}
}

; The water: the mirrored sky on unit 0, the refracted pool on unit 1 (the surface sends its
; coordinates there), mixed by the surface's view-angle shade.
Shader {
	Name "WaterShader"
	Texture {
		Image "watersky"
		TexUnit UNIT0
	}
	Texture {
		Image "pool"
		TexUnit UNIT1
	}
}

; The deck around the water: warm stone under the key light.
Shader {
	Name "WaterDeck"
	Material {
		Enable yes
		Ambient 0.22 0.18 0.20 1
		Diffuse 0.85 0.74 0.66 1
		Specular 0.2 0.2 0.2 1
		Emission 0 0 0 1
		Shininess 12
	}
	Texture {
		Image "stone"
		TexUnit UNIT0
	}
}

; The star: polished gold.
Shader {
	Name "WaterStar"
	Material {
		Enable yes
		Ambient 0.20 0.14 0.05 1
		Diffuse 0.95 0.72 0.35 1
		Specular 1 0.95 0.8 1
		Emission 0 0 0 1
		Shininess 70
	}
	Texture {
		Image "sheen"
		TexUnit UNIT0
	}
}
