; Materials of the opening scene. Glossy bodies add the studio sheen (sphere-mapped) to their lit
; colour; the box room is stone under a violet cast.

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

Image {
	Info "cellar stone blocks, JPEG"
	Type 2D
	Format RGB
	Name "stone.jpg"
	Alias "stone"
	State {
		Wrap WRAP_S_WRAP_T
		Filter LINEAR
		Mipmap LINEAR_LINEAR
	}
}

; The left blob: violet, polished.
Shader {
	Name "IntroBlob"
	Material {
		Enable yes
		Ambient 0.10 0.06 0.20 1
		Diffuse 0.42 0.26 0.78 1
		Specular 0.9 0.85 0.75 1
		Emission 0 0 0 1
		Shininess 48
	}
	Texture {
		Image "sheen"
		TexUnit UNIT0
	}
}

; The right blob: ember, polished.
Shader {
	Name "IntroBlob2"
	Material {
		Enable yes
		Ambient 0.20 0.08 0.04 1
		Diffuse 0.95 0.50 0.22 1
		Specular 0.9 0.85 0.75 1
		Emission 0 0 0 1
		Shininess 48
	}
	Texture {
		Image "sheen"
		TexUnit UNIT0
	}
}

; The head: warm paper, satin.
Shader {
	Name "IntroHead"
	Material {
		Enable yes
		Ambient 0.16 0.14 0.12 1
		Diffuse 0.90 0.80 0.62 1
		Specular 0.9 0.85 0.75 1
		Emission 0 0 0 1
		Shininess 24
	}
	Texture {
		Image "sheen"
		TexUnit UNIT0
	}
}

; The flock: copper bodies with a polished sheen, so the creatures catch the key light across
; the whole room.
Shader {
	Name "IntroBoid"
	Material {
		Enable yes
		Ambient 0.22 0.10 0.05 1
		Diffuse 0.95 0.58 0.28 1
		Specular 1 0.92 0.75 1
		Emission 0.10 0.04 0.02 1
		Shininess 40
	}
	Texture {
		Image "sheen"
		TexUnit UNIT0
	}
}

; Their wings and tails: pale cream, lit a little from within so they read against the walls.
Shader {
	Name "IntroBoidWing"
	Material {
		Enable yes
		Ambient 0.24 0.21 0.18 1
		Diffuse 0.96 0.90 0.76 1
		Specular 0.6 0.55 0.45 1
		Emission 0.14 0.12 0.10 1
		Shininess 24
	}
}

; The box walls: indigo stone, glowing faintly so the walls the lights miss still show their blocks.
Shader {
	Name "IntroWalls"
	Material {
		Enable yes
		Ambient 0.08 0.07 0.16 1
		Diffuse 0.42 0.38 0.70 1
		Specular 0 0 0 1
		Emission 0.10 0.08 0.20 1
		Shininess 48
	}
	Texture {
		Image "stone"
		TexUnit UNIT0
	}
}

; The box floor: warmer stone.
Shader {
	Name "IntroFloor"
	Material {
		Enable yes
		Ambient 0.10 0.08 0.12 1
		Diffuse 0.70 0.55 0.55 1
		Specular 0.2 0.2 0.2 1
		Emission 0 0 0 1
		Shininess 48
	}
	Texture {
		Image "stone"
		TexUnit UNIT0
	}
}
