; Materials of the cellar: the stone room and the ember object in its middle.

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

; The walls: stained stone.
Shader {
	Name "CellarWall"
	Material {
		Enable yes
		Ambient 0.36 0.29 0.34 1
		Diffuse 0.72 0.60 0.66 1
		Specular 0 0 0 1
		Emission 0 0 0 1
		Shininess 48
	}
	Texture {
		Image "stone"
		TexUnit UNIT0
	}
}

; The floor: darker stone.
Shader {
	Name "CellarFloor"
	Material {
		Enable yes
		Ambient 0.32 0.27 0.33 1
		Diffuse 0.50 0.42 0.48 1
		Specular 0.15 0.15 0.15 1
		Emission 0 0 0 1
		Shininess 48
	}
	Texture {
		Image "stone"
		TexUnit UNIT0
	}
}

; The object: ember, polished.
Shader {
	Name "CellarThing"
	Material {
		Enable yes
		Ambient 0.20 0.07 0.03 1
		Diffuse 0.98 0.48 0.20 1
		Specular 1 0.9 0.7 1
		Emission 0 0 0 1
		Shininess 60
	}
	Texture {
		Image "sheen"
		TexUnit UNIT0
	}
}
